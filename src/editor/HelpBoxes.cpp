#include "editor/HelpBoxes.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "common/Placement.h"
#include "editor/DefinitionKeys.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Twips.h"

#include <algorithm>
#include <cstdlib>

namespace wizard {

namespace {

int Width(const platform::FontSpec& font, const std::string& text) {
    return platform::MeasureText(font, text).width;
}

// A number and nothing but blanks around it.
std::optional<double> WholeNumber(const std::string& text) {
    const std::string trimmed = StripBlanks(text);
    if (trimmed.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size()) return std::nullopt;
    return value;
}

} // namespace

std::optional<std::vector<std::string>> WrapText(const std::string& text, int width,
                                                 const platform::FontSpec& font) {
    const std::vector<std::string> words = SplitAll(text, " ");
    const auto fits = [&](const std::string& piece, bool last) {
        const int w = Width(font, piece);
        return last ? w <= width : w < width;
    };
    if (!fits(words[0], words.size() == 1)) return std::nullopt;
    std::vector<std::string> lines;
    std::string line = words[0];
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string candidate = line + " " + words[i];
        if (fits(candidate, i + 1 == words.size())) {
            line = candidate;
        } else {
            lines.push_back(line);
            line = words[i];
        }
    }
    lines.push_back(line);
    return lines;
}

HelpBoxes::HelpBoxes(platform::NativeWidget* parent, std::function<std::string(const std::string&)> valueOf)
    : valueOf_(std::move(valueOf)) {
    for (int b = 0; b < kBoxes; ++b) {
        helpLabel[b] = std::make_unique<platform::PictureBox>(parent);
        helpLabel[b]->Move(600, 600, 2400, 900);
        helpLabel[b]->SetBorderStyle(1);
        helpLabel[b]->SetBackColor(platform::MakeColour(255, 255, 225));
        helpLabel[b]->SetVisible(false);
        helpLabel[b]->OnClick = [this] { Hide(); };
    }
}

HelpBoxes::~HelpBoxes() = default;

void HelpBoxes::Toggle(int step) {
    if (visible_)
        Hide();
    else
        Show(step);
}

void HelpBoxes::Hide() {
    if (!visible_) return;
    visible_ = false;
    for (auto& box : helpLabel)
        box->SetVisible(false);
}

void HelpBoxes::Show(int step) {
    const std::string file = platform::ProgramFolder() + "\\help.dat";
    const std::string frame = "FRAME " + std::to_string(step);
    // The editor has five boxes; items past the fifth are not shown.
    const int items = std::clamp<int>(LeadingInt16(GetIni(frame, "items", file)), 0, kBoxes);
    // The boxes stand inside the window, clear of the step's controls and of each other.
    platform::NativeWidget* window = helpLabel[0]->ParentHandle();
    std::vector<platform::NativeWidget*> boxes;
    for (const auto& box : helpLabel)
        boxes.push_back(box->Handle());
    const std::vector<platform::TwipRect> controls = platform::ControlRectsIn(window, boxes);
    std::vector<platform::TwipRect> placed;
    for (int i = 1; i <= items; ++i) {
        const int b = i - 1;
        const std::string section = frame + " ITEM " + std::to_string(i);
        platform::PictureBox& box = *helpLabel[b];
        const std::string when = GetIni(section, "when", file);
        if (!when.empty() && valueOf_(when).empty()) {
            box.SetVisible(false);
            continue;
        }
        // A place that is not two numbers leaves the box where it was.
        const std::string coord = GetIni(section, "coord", file);
        const auto top = WholeNumber(GetField(coord, 1)), left = WholeNumber(GetField(coord, 2));
        if (top && left && CountFields(coord, ",") == 2) box.Move(RoundToInt32(*left), RoundToInt32(*top));
        const int width = LeadingInt16(GetIni(section, "width", file));
        const int height = LeadingInt16(GetIni(section, "height", file));
        if (width > 0) box.SetWidth(width);
        if (height > 0) box.SetHeight(height);
        Draw(b, GetIni(section, "line1", file));
        placed.push_back(Place(box, platform::AreaOf(window), controls, placed));
        box.SetVisible(true);
        box.ZOrder(true);
    }
    for (int b = items; b < kBoxes; ++b)
        helpLabel[b]->SetVisible(false);
    visible_ = true;
}

platform::TwipRect HelpBoxes::Place(platform::PictureBox& box, const platform::TwipRect& window,
                                    const std::vector<platform::TwipRect>& controls,
                                    const std::vector<platform::TwipRect>& boxes) {
    const platform::TwipRect wanted{box.Left(), box.Top(), box.Width(), box.Height()};
    std::vector<platform::TwipRect> covered = controls;
    covered.insert(covered.end(), boxes.begin(), boxes.end());
    // Where the step leaves no room, a box may cover a control, never another box.
    std::optional<platform::TwipRect> place = FreePlace(wanted, window, covered, kPlaceStep);
    if (!place) place = FreePlace(wanted, window, boxes, kPlaceStep);
    const platform::TwipRect at = place.value_or(platform::FitInto(wanted, window));
    box.Move(at.left, at.top, at.width, at.height);
    return at;
}

void HelpBoxes::Draw(int b, const std::string& text) {
    platform::PictureBox& box = *helpLabel[b];
    // The box grows to hold every line of its text, with a pixel to spare below the last.
    const platform::FontSpec font = platform::SpecOf(box.GetFont());
    if (const auto lines = WrapText(text, platform::PixelsFromTwipsX(box.ScaleWidth()), font)) {
        const int needed = platform::TwipsFromPixelsY(static_cast<int>(lines->size()) *
                                                      platform::MeasureText(font, "").height) +
                           box.Height() - box.ScaleHeight() + platform::kTwipsPerPixelY;
        if (box.Height() < needed) box.SetHeight(needed);
    }
    box.Cls();
    Lines[b].clear();
    const auto lines = WrapText(text, platform::PixelsFromTwipsX(box.ScaleWidth()), font);
    if (!lines) {
        ShowMsg("Box Too Small For Words");
        box.Refresh();
        return;
    }
    Lines[b] = *lines;
    const int lineHeight = platform::MeasureText(font, "").height;
    for (std::size_t i = 0; i < lines->size(); ++i)
        box.Drawing().DrawText(0, static_cast<int>(i) * lineHeight, (*lines)[i], font,
                               platform::ResolveColour(box.ForeColor()));
    box.Refresh();
}

} // namespace wizard
