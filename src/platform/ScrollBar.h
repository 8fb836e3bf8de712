// Horizontal and vertical scroll bars: Min, Max, Value, SmallChange and LargeChange, with Change
// (the value settled: set by code, an arrow, the track, or the thumb let go) and Scroll (the
// thumb is being dragged).
#pragma once

#include "platform/Control.h"

namespace platform {

class ScrollBar : public Control {
  public:
    ScrollBar(NativeWidget* parent, bool vertical);
    // Min may lie above Max: the bar then runs the other way.
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMin(int min);
    void SetMax(int max);
    // Values outside Min..Max are brought to the nearer end.
    int Value() const;
    void SetValue(int value);
    int SmallChange() const;
    void SetSmallChange(int change);
    int LargeChange() const;
    void SetLargeChange(int change);
    void CopyDesign(const Control& base) override;

    std::function<void()> OnChange;
    std::function<void()> OnScroll;

  private:
    void ApplyRange();
    int min_ = 0;
    int max_ = 32767;
};

} // namespace platform
