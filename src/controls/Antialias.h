// Smoothed text for the marker label: one line drawn or measured in a font built for the call,
// and a caption of CRLF-separated lines measured in "Arial". Sizes are pixels, font sizes points.
#pragma once

#include "platform/Picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace controls {

// Draws one line with its cell's top-left corner at (x, y), or centred in centringWidth pixels
// from x when that is 1 or more; rotated text reads upward from (x, y). The width of the text.
std::int16_t DrawAntialiasedText(platform::Picture& dc, const std::string& text, int x, int y,
                                 platform::Colour colour, const std::string& face, std::int32_t size,
                                 std::int16_t weight, std::int16_t centringWidth, bool rotated);

// Width and height of one line; both 0 for an empty text.
void MeasureAntialiasedText(std::int32_t& width, std::int32_t& height, const platform::Picture& dc,
                            const std::string& text, const std::string& face, std::int32_t size,
                            std::int16_t weight);

// The size a caption takes in the label: the widest line + 5 by the sum of the line heights, + 2
// for one line (or none), - 2 for every line after the first.
void MeasureAntialiasedCaption(std::int32_t& width, std::int32_t& height, const platform::Picture& dc,
                               const std::string& caption, std::int32_t size, std::int16_t weight);

// The lines of a caption: cut at each CRLF pair (a lone CR or LF stays in its line); an empty
// caption has no lines.
std::vector<std::string> CaptionLines(const std::string& caption);

// The line step, and the character height, in pixels of a font of that many points.
int LineStep(std::int32_t size);

} // namespace controls
