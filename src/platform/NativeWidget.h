// The window-system object behind a control surface or a form, for the platform's own units:
// the engine holds it only as an opaque handle to make one widget the child of another.
#pragma once

#include <QWidget>

namespace platform {

struct NativeWidget;

inline QWidget* ToQWidget(NativeWidget* handle) {
    return reinterpret_cast<QWidget*>(handle);
}
inline NativeWidget* ToNativeWidget(QWidget* widget) {
    return reinterpret_cast<NativeWidget*>(widget);
}

} // namespace platform
