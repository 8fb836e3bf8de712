// The card image control: shows one picture file with a see-through mask colour, turned about a
// fixed centre, zoomed, greyed or with the selection halo. Every drawing operation runs once, when
// a property changes or a picture is loaded, and its result stays as the control's picture.
// Sizes and offsets of the control are twips; inside, everything is pixels.
#pragma once

#include "platform/ControlSurface.h"
#include "platform/Fonts.h"
#include "platform/Picture.h"
#include "platform/PropertyBag.h"
#include "platform/Twips.h"

#include <cstdint>
#include <functional>
#include <string>

namespace controls {

using platform::Colour;
using platform::Picture;

// The largest side, in pixels, of a picture a card image control keeps: a file larger than that is
// decoded down to it once, when it is loaded. Nothing on the table is shown larger (a deck's zoom
// stops at the same side), and a card's looks, its turned frame and its mask grow with the square
// of its side: at this size one card holds a few megabytes, whatever its file declares.
inline constexpr int kMaxPictureSide = 512;

class TranspImg {
  public:
    explicit TranspImg(platform::NativeWidget* parent = nullptr);
    TranspImg(const TranspImg&) = delete;
    TranspImg& operator=(const TranspImg&) = delete;

    // The host's side of the control: position, size, visibility, Tag, tool tip, stacking.
    platform::ControlSurface& Surface() { return surface_; }
    const platform::ControlSurface& Surface() const { return surface_; }

    Colour BackColor() const { return backColor_; }
    void BackColor(Colour c);
    Colour ForeColor() const { return foreColor_; }
    void ForeColor(Colour c);
    const platform::Font& Font() const { return font_; }
    void Font(const platform::Font& font);
    std::int16_t BorderStyle() const { return borderStyle_; }
    void BorderStyle(std::int16_t style);
    void Refresh() {}

    // The picture as the control's whole inner size shows it.
    const Picture GetPicture() const { return surface_.ShownPicture(); }
    // The picture and the mask picture at once.
    void SetPicture(const Picture& picture);
    Colour MaskColor() const { return surface_.MaskColor(); }
    void MaskColor(Colour c);

    // Loads a picture file: the square frame (table cards, markers), natural size (decks, piles,
    // zoom window) or stretched to the control's present size (fit).
    void loadNewPicture(const std::string& fileName, bool natural = false, bool fit = false);

    std::int16_t rotation() const { return rotation_; }
    void rotation(std::int16_t angle);
    bool GreyScale() const { return greyScale_; }
    void GreyScale(bool grey);
    std::int16_t zoom() const { return zoom_; }
    void zoom(std::int16_t percent);
    // What is drawn now, as a picture of the control's inner size (without the halo).
    const Picture hdc() const { return surface_.ShownDrawing(); }
    bool bestResize() const { return bestResize_; }
    void bestResize(bool best);
    bool selected() const { return selected_; }
    void selected(bool select);
    // Prepares the first work picture, shared by every control, as the stored file's square frame.
    void ReloadPictureOnTmpPict();
    bool useAntialias() const { return useAntialias_; }
    void useAntialias(bool smooth);
    // Places the control so that its picture's top-left corner lies at (left, top), pixels of
    // the container.
    void SetPosition(std::int16_t left, std::int16_t top);
    std::int32_t GetOriginLeft() const;
    std::int32_t GetOriginTop() const;
    const std::string& GetPictureName() const { return fileName_; }
    bool Enabled() const { return surface_.Enabled(); }
    void Enabled(bool enabled);
    void reset();
    std::int32_t GetRealWidth() const;
    std::int32_t GetRealHeight() const;
    std::int16_t BackStyle() const { return static_cast<std::int16_t>(surface_.BackStyle()); }
    void BackStyle(std::int16_t style);

    // The persisted properties, as a form that holds the control loads and saves them; the
    // ambient font is the host's. Reading draws nothing.
    void ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient);
    void WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const;

    // Events 2 to 5: DblClick, MouseMove, MouseDown, MouseUp, at a point in pixels.
    std::function<void()> DblClick;
    std::function<void(std::int16_t button, std::int16_t shift, platform::PixelPoint at)> MouseMove;
    std::function<void(std::int16_t button, std::int16_t shift, platform::PixelPoint at)> MouseDown;
    std::function<void(std::int16_t button, std::int16_t shift, platform::PixelPoint at)> MouseUp;
    // Told the key of each persisted property that changes.
    std::function<void(const std::string& key)> PropertyChanged;

  private:
    void Changed(const char* key);
    // The mask colour as it is drawn: a system colour stands for the colour it shows now.
    Colour Key() const { return platform::ResolveColour(MaskColor()); }
    void SetSizePixels(double width, double height);
    // Steps 4 to 7 of a load, from the stored file's decoded picture: a turn back to 0 degrees
    // and an unselect draw the picture again this way, without reading the file again.
    void ShowStoredPicture(bool natural, bool fit);
    // The stored picture in its square frame, turned by `turn` degrees clockwise with the present
    // mask colour and quality; the same for every control that shows that look. Unturned and
    // turned by quarters, it is the picture alone (the decoded one, or turned at its own size)
    // with its place in the frame; turned by another angle, the whole frame.
    struct PlacedLook {
        Picture picture;
        int left = 0;
        int top = 0;
    };
    PlacedLook FramedLook(int turn) const;
    void ShowLook(const PlacedLook& look);
    void DrawSelectionHalo();
    // The zoom drawn from the present picture, without a halo.
    void Zoom(std::int16_t percent);

    platform::ControlSurface surface_;
    bool useAntialias_ = false;
    bool selected_ = false;
    bool bestResize_ = false;
    std::int16_t zoom_ = 100;
    bool greyScale_ = false;
    std::int16_t rotation_ = 0;
    Colour backColor_ = 0;
    Colour foreColor_ = 0;
    platform::Font font_;
    std::int16_t borderStyle_ = 0;
    std::string fileName_;
    // The stored file's decoded picture (shared with every control showing that file), its size
    // and its header's transparent colour, read at its last load; the turn, the zoom and the
    // offsets start from them.
    Picture natural_;
    int naturalWidth_ = 0;
    int naturalHeight_ = 0;
    bool transparent_ = false;
    Colour transparentColour_ = 0;
};

// The centre the turn draws about for a control of Wi x Hi pixels: the control's middle,
// corrected by the angle so that quarter turns of even sizes stay in place.
void RotationCentre(int innerWidth, int innerHeight, int angle, int& cx, int& cy);

} // namespace controls
