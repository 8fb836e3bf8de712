#include "controls/Antialias.h"

#include "common/Numbers.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"

#include <algorithm>

namespace controls {

namespace {

const std::string kCaptionFace = "Arial";

platform::FontSpec SpecFor(const std::string& face, std::int32_t size, std::int16_t weight) {
    return platform::FontSpec{face, LineStep(size), weight >= 600};
}

std::int32_t Low16(int value) {
    return std::clamp(value, 0, 0xFFFF);
}

} // namespace

int LineStep(std::int32_t size) {
    return RoundToInt32(size * 20.0 / platform::kTwipsPerPixelY);
}

std::vector<std::string> CaptionLines(const std::string& caption) {
    std::vector<std::string> lines;
    if (caption.empty()) return lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t cut = caption.find("\r\n", start);
        if (cut == std::string::npos) {
            lines.push_back(caption.substr(start));
            return lines;
        }
        lines.push_back(caption.substr(start, cut - start));
        start = cut + 2;
    }
}

void MeasureAntialiasedText(std::int32_t& width, std::int32_t& height, const platform::Picture&,
                            const std::string& text, const std::string& face, std::int32_t size,
                            std::int16_t weight) {
    width = 0;
    height = 0;
    if (text.empty()) return;
    platform::TextSize extent = platform::MeasureText(SpecFor(face, size, weight), text);
    width = Low16(extent.width);
    height = Low16(extent.height);
}

std::int16_t DrawAntialiasedText(platform::Picture& dc, const std::string& text, int x, int y,
                                 platform::Colour colour, const std::string& face, std::int32_t size,
                                 std::int16_t weight, std::int16_t centringWidth, bool rotated) {
    if (text.empty()) return 0;
    std::int32_t width = 0, height = 0;
    MeasureAntialiasedText(width, height, dc, text, face, size, weight);
    if (centringWidth >= 1) x += RoundToInt32((centringWidth - width) / 2.0);
    dc.DrawText(x, y, text, SpecFor(face, size, weight), colour, rotated);
    return ClampToInt16(width);
}

void MeasureAntialiasedCaption(std::int32_t& width, std::int32_t& height, const platform::Picture& dc,
                               const std::string& caption, std::int32_t size, std::int16_t weight) {
    width = 0;
    height = 0;
    const std::vector<std::string> lines = CaptionLines(caption);
    for (const std::string& line : lines) {
        std::int32_t w = 0, h = 0;
        MeasureAntialiasedText(w, h, dc, line, kCaptionFace, size, weight);
        width = std::max(width, w);
        height += h;
    }
    width += 5;
    const auto n = static_cast<std::int32_t>(lines.size());
    if (n <= 1)
        height += 2;
    else
        height -= 2 * (n - 1);
}

} // namespace controls
