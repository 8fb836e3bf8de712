// The side bar of the marker picker: a vertical bar of groups, each a flat button with its
// caption and a picture of its items (a picture, a caption under it, or both). One group is open
// at a time: its button and those before it stand at the top, the later ones at the bottom, and
// its items fill the space between, scrolled by two arrow buttons. A press frames an item; a
// double click hands back the identifier the caller gave it. Everything inside is in pixels.
#pragma once

#include "controls/StoredLook.h"
#include "controls/zFlatButton.h"
#include "controls/zShape.h"
#include "platform/ControlSurface.h"
#include "platform/Fonts.h"
#include "platform/Picture.h"
#include "platform/PropertyBag.h"
#include "state/FixedTable.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace controls {

class zBar : public StoredLook {
  public:
    static constexpr int kMaxItems = 300;
    static constexpr int kButtonHeight = 17;
    // The height a new group picture starts with, before items make it grow.
    static constexpr int kStartHeight = 153;

    struct Item {
        std::int16_t group = 0; // 0: a record not filled
        std::int16_t id = 0;
        std::int16_t top = 0;
        std::int16_t height = 0;
    };

    explicit zBar(platform::NativeWidget* parent = nullptr);
    ~zBar();
    zBar(const zBar&) = delete;
    zBar& operator=(const zBar&) = delete;

    platform::ControlSurface& Surface() { return surface_; }
    const platform::ControlSurface& Surface() const { return surface_; }

    // The stored properties (StoredLook) change nothing in what the bar draws or how it reacts.

    // Items drawn from now on leave out their captions, or their pictures; nothing is redrawn.
    bool ShowOnlyImages() const { return showOnlyImages_; }
    void ShowOnlyImages(bool only);
    bool ShowOnlyText() const { return showOnlyText_; }
    void ShowOnlyText(bool only);

    // Adds a group and opens it; 0.
    std::int16_t AddGroup(const std::string& caption);
    // Adds an item to the group added last, whichever is open, drawing it into that group's
    // picture. Ignored without a group, beyond 300 items, or when the group's picture would
    // exceed the largest picture; false (the item's record left empty) when the picture file
    // cannot be read.
    bool AddImage(std::int16_t id, const std::string& pictureFile, const std::string& caption,
                  bool transparent, platform::Colour transColor = 0);
    // Opens a group (1 to the group count; others are ignored) at its start position.
    void SelectGroup(std::int16_t group);

    void ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient);
    void WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const;

    // Event 1: a double click on an open group's picture while an item is framed.
    std::function<void(std::int16_t& id)> ImageSelected;

    // The bar's state and parts, as the picker and the tests see them.
    std::int16_t CurrentGroup() const { return currentGroup_; }
    std::int16_t GroupCount() const { return static_cast<std::int16_t>(groups_.size()); }
    std::int16_t SelectedItem() const { return selectedItem_; }
    std::int16_t ItemCount() const { return itemCount_; }
    const Item& ItemRecord(int index) const { return items_[index]; }
    zFlatButton& GroupButton(int group);
    // The group's picture as shown: pending items are drawn into it first.
    platform::ControlSurface& GroupPicture(int group);
    zShape& SelectionFrame() { return imgShape_; }
    platform::ControlSurface& UpButton() { return upBtn_; }
    platform::ControlSurface& DownButton() { return downBtn_; }
    platform::ControlSurface& TopShade() { return topShade_; }
    platform::ControlSurface& BottomStrip() { return linePict_; }

    // What a press at y (pixels) on a group's picture and a double click there do.
    void PressGroupPicture(int group, int y);
    void DoubleClickGroupPicture();
    // What a release of a group button and the arrow buttons do.
    void GroupButtonReleased(int group);
    void ScrollDown();
    void ScrollUp();

  private:
    struct Group {
        std::unique_ptr<zFlatButton> button;
        std::unique_ptr<platform::ControlSurface> picture;
        // The items are drawn here, and the picture shows it from the next layout: a canvas that
        // grows in large steps, so that filling a group costs one copy rather than one per item.
        platform::Picture canvas;
        int width = 0;
        int height = kStartHeight;
        bool shown = false; // the picture shows what the canvas holds
    };

    void Paint();
    void Resize();
    void Layout(bool rebuild);
    void Show(Group& group);
    void Place(platform::ControlSurface& s, int left, int top, int width, int height);
    int TopOf(const platform::ControlSurface& s) const;
    Group& At(int group) { return groups_[static_cast<std::size_t>(group - 1)]; }

    platform::ControlSurface surface_;
    platform::ControlSurface topShade_;
    platform::ControlSurface linePict_;
    std::vector<Group> groups_;
    platform::ControlSurface upBtn_;
    platform::ControlSurface downBtn_;
    zShape imgShape_;
    platform::Picture tmpPict_;

    std::int16_t currentGroup_ = 0;
    std::int16_t selectedItem_ = -1;
    bool showOnlyImages_ = false;
    bool showOnlyText_ = false;
    FixedTable<Item, 1, kMaxItems> items_;
    std::int16_t itemCount_ = 0;
};

} // namespace controls
