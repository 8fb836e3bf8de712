// Window objects let go while an event is being handled wait here until the event is over.
#include "platform/QtRuntime.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace platform {
namespace {

int g_depth = 0;
std::vector<QPointer<QObject>> g_disposed;

} // namespace

void DisposeWhenIdle(QObject* object) {
    if (!object) return;
    // Signals of a widget whose owner is gone would reach handlers that no longer exist.
    object->blockSignals(true);
    if (object->isWidgetType()) static_cast<QWidget*>(object)->hide();
    if (g_depth == 0 || !QCoreApplication::instance()) {
        delete object;
        return;
    }
    g_disposed.emplace_back(object);
}

void EnteringEvent() {
    ++g_depth;
}

void LeavingEvent() {
    if (--g_depth == 0 && !g_disposed.empty()) DeleteDisposed();
}

void DeleteDisposed() {
    // Deleting a widget raises events of its own (focus, hiding): they run as one more level, so
    // that what they dispose of joins this round instead of starting another inside it.
    ++g_depth;
    while (!g_disposed.empty()) {
        std::vector<QPointer<QObject>> round;
        round.swap(g_disposed);
        // A parent deleted first takes its children with it: their pointers are null by then.
        for (QPointer<QObject>& object : round)
            delete object.data();
    }
    --g_depth;
}

} // namespace platform
