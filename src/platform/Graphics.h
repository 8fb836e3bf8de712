// The drawing controls of a form: shape, line, image and the picture box that keeps what is drawn on
// it (its drawing persists, as with AutoRedraw).
#pragma once

#include "platform/Control.h"

namespace platform {

// Rectangle 0, square 1, oval 2, circle 3, rounded rectangle 4, rounded square 5. It takes no
// mouse: clicks go to what lies below.
class Shape : public Control {
  public:
    explicit Shape(NativeWidget* parent);
    ~Shape() override;
    int Kind() const;
    void SetKind(int kind);
    Colour BorderColor() const;
    void SetBorderColor(Colour c);
    int BorderWidth() const;
    void SetBorderWidth(int pixels);
    // 0 transparent (default), 1 filled with the back colour.
    void SetBackStyle(int style);
    // 0 solid fill with the fill colour, 1 no fill (default).
    void SetFillStyle(int style);
    void SetFillColor(Colour c);
    void CopyDesign(const Control& base) override;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// A straight line between two points of the parent, in twips. It takes no mouse.
class Line : public Control {
  public:
    explicit Line(NativeWidget* parent);
    ~Line() override;
    int X1() const;
    int Y1() const;
    int X2() const;
    int Y2() const;
    void SetPoints(int x1, int y1, int x2, int y2);
    Colour BorderColor() const;
    void SetBorderColor(Colour c);
    void SetBorderWidth(int pixels);
    void CopyDesign(const Control& base) override;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// A picture box: a background picture and a drawing that keeps what is drawn on it, in pixels.
// It may hold other controls (they take its Handle() as their parent).
class PictureBox : public Control {
  public:
    explicit PictureBox(NativeWidget* parent);
    ~PictureBox() override;
    // The inner size in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;
    // 0 none, 1 a fixed single border.
    void SetBorderStyle(int style);
    // The picture resizes the box to itself.
    void SetAutoSize(bool autoSize);

    // The background picture: setting it redraws the drawing from it.
    const Picture& GetPicture() const;
    void SetPicture(const Picture& picture);
    // What is drawn (the inner size); call Refresh after drawing on it.
    Picture& Drawing();
    const Picture& Drawing() const;
    // Clears the drawing to the back colour and the background picture.
    void Cls();
    void CopyDesign(const Control& base) override;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// An image: a picture shown at the top-left corner, or stretched over the whole control, with
// nothing drawn behind it. Without Stretch it takes the picture's size.
class Image : public Control {
  public:
    explicit Image(NativeWidget* parent);
    ~Image() override;
    const Picture& GetPicture() const;
    void SetPicture(const Picture& picture);
    bool Stretch() const;
    void SetStretch(bool stretch);
    void CopyDesign(const Control& base) override;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
