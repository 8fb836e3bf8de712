// A fixture for the tests of the game services and their windows: a fresh model and program
// folder, and a game written for the case and put in use.
#pragma once

#include "TestSupport.h"

#include "platform/Files.h"
#include "state/LogStore.h"
#include "state/Model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class GameFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        Model().Reset();
        platform::SetProgramFolder(folder_.Path());
    }
    void TearDown() override {
        platform::SetProgramFolder("");
        Model().Reset();
    }

    // Writes the definition under a name of its own (the reader caches a definition by its
    // path) and makes it the game in use.
    void WriteGame(const std::string& text) {
        const std::string name = "g" + std::to_string(++games_) + ".game";
        folder_.Write(name, text);
        CurrentGameFile = folder_.Path() + "\\" + name;
    }

    // The game log's entries, oldest first.
    static std::vector<std::string> LogEntries() {
        std::vector<std::string> entries;
        for (int n = 1; n <= LogCount; ++n)
            entries.push_back(LogEntry(n));
        return entries;
    }

    testsupport::TempProgramFolder folder_;

  private:
    int games_ = 0;
};
