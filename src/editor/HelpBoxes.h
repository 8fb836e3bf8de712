// The help boxes of the editor's steps: up to five boxes laid over the step, with the texts,
// places and sizes that help.dat beside the program gives for each step.
#pragma once

#include "platform/Fonts.h"
#include "platform/Graphics.h"
#include "platform/Twips.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wizard {

// Splits a text at single spaces into lines narrower than `width` pixels measured with `font` (the
// last line may be exactly as wide). A word too wide for the box stands on a line of its own;
// nullopt when the text's first word alone is too wide.
std::optional<std::vector<std::string>> WrapText(const std::string& text, int width,
                                                 const platform::FontSpec& font);

class HelpBoxes {
  public:
    // `valueOf` gives the text or caption of an editor control by its name ("" for none).
    HelpBoxes(platform::NativeWidget* parent, std::function<std::string(const std::string&)> valueOf);
    ~HelpBoxes();
    HelpBoxes(const HelpBoxes&) = delete;
    HelpBoxes& operator=(const HelpBoxes&) = delete;

    // "?": shows the boxes of the step, or hides them when they show.
    void Toggle(int step);
    void Show(int step);
    void Hide();
    bool Visible() const { return visible_; }

    static constexpr int kBoxes = 5;
    std::array<std::unique_ptr<platform::PictureBox>, kBoxes> helpLabel;
    // The lines last drawn in each box.
    std::array<std::vector<std::string>, kBoxes> Lines;

  private:
    // Draws the text into the box, which grows to hold every line.
    void Draw(int box, const std::string& text);
    // Moves the box to the place nearest its own that lies inside the window and covers neither
    // a control nor a box placed before; its rectangle.
    static platform::TwipRect Place(platform::PictureBox& box, const platform::TwipRect& window,
                                    const std::vector<platform::TwipRect>& controls,
                                    const std::vector<platform::TwipRect>& boxes);
    // Room for a box is looked for on a grid of 8 pixels.
    static constexpr int kPlaceStep = 120;
    std::function<std::string(const std::string&)> valueOf_;
    bool visible_ = false;
};

} // namespace wizard
