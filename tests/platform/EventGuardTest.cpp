// An exception that escapes a window's event handler is caught where the platform dispatches
// events: written to the debug log, told in one message, and the program goes on.
#include "TestSupport.h"

#include "platform/ControlSurface.h"
#include "platform/Seams.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::SizeIs;

namespace {

class ErrorLog {
  public:
    ErrorLog() {
        previous_ = platform::SetErrorLogger([this](const std::string& text) { lines.push_back(text); });
    }
    ~ErrorLog() { platform::SetErrorLogger(previous_); }
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

    std::vector<std::string> lines;

  private:
    platform::ErrorLogger previous_;
};

// A window of its own that takes clicks everywhere.
struct ClickableWindow {
    ClickableWindow() {
        surface.SetBackStyle(1);
        surface.SetSizePixels(40, 30);
    }
    platform::ControlSurface surface;
};

// A handler outside the controls, reached only through the application's event dispatch.
class ThrowingObject : public QObject {
  public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::logic_error("handler outside the controls");
        return QObject::event(e);
    }
};

} // namespace

TEST(EventGuard, TheApplicationsDispatchCatchesWhatAnyOtherHandlerLetsEscape) {
    ErrorLog log;
    testsupport::MessageRecorder messages;
    ThrowingObject target;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    ASSERT_THAT(log.lines, SizeIs(1));
    EXPECT_THAT(log.lines[0], HasSubstr("handler outside the controls"));
    EXPECT_THAT(messages.Messages(), ElementsAre(HasSubstr("handler outside the controls")));
    QEvent again(QEvent::User);
    QCoreApplication::sendEvent(&target, &again);
    EXPECT_THAT(log.lines, SizeIs(2)) << "the program went on and dispatches again";
}

TEST(EventGuard, AnExceptionFromAHandlerIsLoggedToldOnceAndTheProgramGoesOn) {
    struct Case {
        const char* name;
        std::function<void()> fault;
        const char* logged;
    } cases[] = {
        {"checked table", [] { throw std::out_of_range("table index 501 outside 1..500"); },
         "table index 501 outside 1..500"},
        {"anything else thrown", [] { throw 42; }, "an unknown exception"},
    };
    for (const Case& c : cases) {
        ErrorLog log;
        testsupport::MessageRecorder messages;
        ClickableWindow window;
        int releases = 0;
        window.surface.OnMouseDown = [&](const platform::MouseEvent&) { c.fault(); };
        window.surface.OnMouseUp = [&](const platform::MouseEvent&) { ++releases; };

        platform::ClickAt(window.surface, 10, 10);

        ASSERT_THAT(log.lines, SizeIs(1)) << c.name;
        EXPECT_THAT(log.lines[0], HasSubstr(c.logged)) << c.name;
        ASSERT_THAT(messages.Messages(), SizeIs(1)) << c.name;
        EXPECT_THAT(messages.Messages()[0], HasSubstr(c.logged)) << c.name;
        EXPECT_EQ(releases, 1) << c.name << ": the next event still reaches its handler";

        // The window keeps working: a second click runs both handlers again.
        window.surface.OnMouseDown = [](const platform::MouseEvent&) {};
        platform::ClickAt(window.surface, 10, 10);
        EXPECT_EQ(releases, 2) << c.name;
        EXPECT_THAT(log.lines, SizeIs(1)) << c.name;
    }
}

TEST(EventGuard, AFaultWhileItsMessageIsOpenIsLoggedWithoutASecondMessage) {
    ErrorLog log;
    ClickableWindow window;
    std::vector<std::string> shown;
    // The message box runs a modal loop, in which other handlers run and may fail as well.
    const auto previous = platform::SetMessageHandler([&](const std::string& text) {
        shown.push_back(text);
        if (shown.size() == 1) platform::ClickAt(window.surface, 10, 10);
    });
    window.surface.OnMouseDown = [](const platform::MouseEvent&) {
        throw std::runtime_error("bad marker 301");
    };
    platform::ClickAt(window.surface, 10, 10);
    platform::SetMessageHandler(previous);

    EXPECT_THAT(log.lines, SizeIs(2));
    EXPECT_THAT(shown, ElementsAre(HasSubstr("bad marker 301")));
}

TEST(EventGuard, TheDebugLogIsStandardErrorUntilOneIsSet) {
    testing::internal::CaptureStderr();
    platform::LogError("written where it can be read");
    EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("written where it can be read"));
}
