// The game's help file ([GAME] helpfile in the game's image folder), opened with the system's
// viewer.
#pragma once

// Opens the help file of the game in use. A file that is missing, is no regular file of the
// program folder or is executable is not opened but named in a message; so is one of the old help
// formats (".hlp", ".chm"), for which there is no viewer here. A game without help does nothing.
void ShowGameHelp();
