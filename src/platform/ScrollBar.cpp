#include "platform/ScrollBar.h"

#include "platform/QtRuntime.h"

#include <QScrollBar>

#include <algorithm>

namespace platform {
namespace {

QScrollBar* BarOf(const Control& c) {
    return static_cast<QScrollBar*>(WidgetOf(c));
}

} // namespace

ScrollBar::ScrollBar(NativeWidget* parent, bool vertical)
    : Control(ToNativeWidget(new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, ToQWidget(parent))),
              false) {
    QScrollBar* bar = BarOf(*this);
    ApplyRange();
    bar->setSingleStep(1);
    bar->setPageStep(1);
    QObject::connect(bar, &QScrollBar::valueChanged, bar, [this, bar] {
        if (bar->isSliderDown()) {
            if (auto h = OnScroll) h();
        } else if (auto h = OnChange) {
            h();
        }
    });
    QObject::connect(bar, &QScrollBar::sliderReleased, bar, [this] {
        if (auto h = OnChange) h();
    });
}

void ScrollBar::ApplyRange() {
    // A value that the new range moves raises Change through the bar itself.
    QScrollBar* bar = BarOf(*this);
    bar->setInvertedAppearance(min_ > max_);
    bar->setInvertedControls(min_ > max_);
    bar->setRange(std::min(min_, max_), std::max(min_, max_));
}
void ScrollBar::SetMin(int min) {
    min_ = min;
    ApplyRange();
}
void ScrollBar::SetMax(int max) {
    max_ = max;
    ApplyRange();
}
int ScrollBar::Value() const {
    return BarOf(*this)->value();
}
void ScrollBar::SetValue(int value) {
    BarOf(*this)->setValue(std::clamp(value, std::min(min_, max_), std::max(min_, max_)));
}
int ScrollBar::SmallChange() const {
    return BarOf(*this)->singleStep();
}
void ScrollBar::SetSmallChange(int change) {
    BarOf(*this)->setSingleStep(std::max(1, change));
}
int ScrollBar::LargeChange() const {
    return BarOf(*this)->pageStep();
}
void ScrollBar::SetLargeChange(int change) {
    BarOf(*this)->setPageStep(std::max(1, change));
}
void ScrollBar::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const ScrollBar*>(&base)) {
        min_ = other->min_;
        max_ = other->max_;
        ApplyRange();
        SetSmallChange(other->SmallChange());
        SetLargeChange(other->LargeChange());
        SetValue(other->Value());
    }
}

} // namespace platform
