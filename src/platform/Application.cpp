#include "platform/Application.h"

#include "platform/EventGuard.h"
#include "platform/QtRuntime.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QThreadPool>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace platform {
namespace {

std::string g_startingName;
QtMessageHandler g_previousHandler = nullptr;

// The window system ends the process with an abort when it cannot be opened (a display that
// does not answer, a platform that is not installed). While the application object is made,
// that end becomes a plain message and exit code 1 instead of a crash.
void StartupMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s cannot start: the window system could not be opened.\n%s\n",
                     g_startingName.c_str(), text.toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (g_previousHandler)
        g_previousHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

std::string Where(QObject* receiver, QEvent* event) {
    return std::string("event ") + std::to_string(event ? static_cast<int>(event->type()) : 0) + " for " +
           (receiver ? receiver->metaObject()->className() : "nothing");
}

// Every event passes here. The controls catch their handlers' faults themselves, before they
// unwind through the window system; this is the backstop for any other handler: an exception
// that would end the program is reported and the program keeps running.
class GuardedApplication : public QApplication {
  public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override {
        ClearStaleVectorState();
        struct Bracket {
            Bracket() { EnteringEvent(); }
            ~Bracket() { LeavingEvent(); }
        } bracket;
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            ReportEscapedFault(e.what(), Where(receiver, event));
        } catch (...) {
            ReportEscapedFault("an unknown exception", Where(receiver, event));
        }
        return false;
    }
};

} // namespace

#if defined(__x86_64__)
namespace {
__attribute__((target("avx"))) void ZeroUpperVectorHalves() {
    _mm256_zeroupper();
}
// Asked once, on first use: the processor's features may not be read yet while static objects of
// other files are made.
bool HasAvx() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return has;
}
} // namespace
#endif

void ClearStaleVectorState() {
#if defined(__x86_64__)
    if (HasAvx()) ZeroUpperVectorHalves();
#endif
}

struct Application::Impl {
    Impl(int& argc, char** argv) : app(argc, argv) {}
    GuardedApplication app;
};

Application::Application(int& argc, char** argv, const std::string& name) {
    g_startingName = name;
    g_previousHandler = qInstallMessageHandler(StartupMessages);
    impl_ = std::make_unique<Impl>(argc, argv);
    ClearStaleVectorState();
    qInstallMessageHandler(g_previousHandler);
    QCoreApplication::setApplicationName(ToQString(name));
    StartProbeIfAsked();
}

Application::~Application() {
    DeleteDisposed();
    // Qt converts and scales large pictures on the threads of its global pool, which stay idle
    // for a while afterwards. They are ended here, before the program's exit: threads left running
    // then meet the program's own teardown (and the leak checker's stop of every thread).
    QThreadPool::globalInstance()->waitForDone();
}

int Application::Run() {
    return QApplication::exec();
}

std::string MissingDisplayReason() {
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    if (set("QT_QPA_PLATFORM")) return "";
    if (set("WAYLAND_DISPLAY")) return "";
    if (set("DISPLAY")) {
        // A local display ":N" has its socket in /tmp/.X11-unix; a remote one is left to try.
        std::string display = std::getenv("DISPLAY");
        if (display[0] != ':') return "";
        std::string number = display.substr(
            1, display.find('.') == std::string::npos ? std::string::npos : display.find('.') - 1);
        if (std::filesystem::exists("/tmp/.X11-unix/X" + number)) return "";
        return "the display " + display + " cannot be reached";
    }
    return "no graphical display is available (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

} // namespace platform
