# Lays the bundled games beside the program (cmake -DSOURCE=games -DDESTINATION=<program folder>
# -P cmake/LayGames.cmake). The games and their pictures are laid anew at every build; direct.ini
# only where the program folder has none, since the program writes the player's own settings into
# it (the game and nickname last used, the known hosts).
file(COPY "${SOURCE}/" DESTINATION "${DESTINATION}" PATTERN "direct.ini" EXCLUDE)
if(NOT EXISTS "${DESTINATION}/direct.ini")
  file(COPY_FILE "${SOURCE}/direct.ini" "${DESTINATION}/direct.ini")
endif()
