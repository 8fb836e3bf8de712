// Inside the platform: where a handler of ours is called from a window event, no exception may
// leave it into the window system, whose code is not written to be unwound. A fault is written to
// the debug log, told once, and the event ends there; the program goes on.
#pragma once

#include <exception>
#include <string>

namespace platform {

// Logs a fault that escaped a handler and shows one message about it (none while such a
// message is already open).
void ReportEscapedFault(const std::string& what, const std::string& where);

template <typename Handler> void RunGuarded(const char* where, Handler&& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& e) {
        ReportEscapedFault(e.what(), where);
    } catch (...) {
        ReportEscapedFault("an unknown exception", where);
    }
}

} // namespace platform
