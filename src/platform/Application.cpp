#include "platform/Application.h"

#include "platform/QtText.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>

namespace platform {

struct Application::Impl {
    Impl(int& argc, char** argv) : app(argc, argv) {}
    QApplication app;
};

Application::Application(int& argc, char** argv, const std::string& name)
    : impl_(std::make_unique<Impl>(argc, argv)) {
    QCoreApplication::setApplicationName(ToQString(name));
}

Application::~Application() = default;

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
