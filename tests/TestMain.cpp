// Shared main of every test program: Qt's offscreen platform, one application object, and
// messages, questions and the program's end recorded instead of shown.
#include "TestSupport.h"

#include "platform/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::Application app(argc, argv, "Karvel");
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::InstallQuietSeams();
    return RUN_ALL_TESTS();
}
