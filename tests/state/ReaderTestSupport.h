// Shared by the tests of the definition reader: a definition written into a temporary program
// folder together with empty image files for the images it names, loaded the way the game list
// loads it, and the check that every card of a loaded game lies in exactly one place.
#pragma once

#include "TestSupport.h"

#include <string>
#include <vector>

namespace readertest {

// Empties every table the reader fills, as a freshly started program has them.
void ResetReaderState();

// The text of a file of tests/fixtures/reader.
std::string FixtureText(const std::string& name);

class DefinitionFolder {
  public:
    // Writes a definition; with images, also an empty file for every image name in it (names
    // ending in .bmp, .gif or .jpg) in its [GAME] directory. Returns its model path.
    std::string Write(const std::string& name, const std::string& text, bool withImages = true) const;

    // Reads the options and the seat names, then the definition, as a new game does.
    bool Load(const std::string& path) const;

    // Write and Load in one.
    bool LoadText(const std::string& text, bool withImages = true) const;

    const testsupport::TempProgramFolder& Folder() const { return folder_; }

  private:
    testsupport::TempProgramFolder folder_;
};

// Every way in which the loaded game breaks "each card lies in exactly one place, every deck's
// draw pile holds positions 1..N and the deck sizes count exactly the cards of each deck".
// Empty when the game is sound.
std::vector<std::string> CardPlaceFaults();

// The draw pile of a deck as card numbers ordered by position.
std::vector<int> DrawPile(int deck);

} // namespace readertest
