// Helpers of the tests of the start windows: a fixture whose program folder is the test's and
// whose working folder comes back afterwards (the splash enters the program folder), and the
// press of a picture button.
#pragma once

#include "GameFixture.h"
#include "controls/cpvButton.h"
#include "platform/Lists.h"

#include <filesystem>
#include <string>
#include <vector>

namespace starttest {

class StartFixture : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        workingFolder_ = std::filesystem::current_path();
    }
    void TearDown() override {
        std::filesystem::current_path(workingFolder_);
        GameFixture::TearDown();
    }

  private:
    std::filesystem::path workingFolder_;
};

// A left click in the middle of a picture button, as the user gives it.
bool Press(controls::cpvButton& button);

std::vector<std::string> Items(const platform::ListBox& list);
std::vector<std::string> Items(const platform::ComboBox& box);

// The position of an item in a list; -1 when it is not there.
int IndexOf(const platform::ListBox& list, const std::string& item);

} // namespace starttest
