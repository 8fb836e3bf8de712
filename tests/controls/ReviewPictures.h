// Pictures that drawing tests write into the build folder for a person to look at.
#pragma once

#include "platform/Picture.h"

#include <algorithm>
#include <filesystem>
#include <string>

namespace reviewpictures {

// Small controls are written four times their size, so that single pixels can be told apart.
inline bool Save(const platform::Picture& picture, const std::string& name) {
    const std::string folder = std::string(KARVEL_BUILD_DIR) + "/pictures";
    std::filesystem::create_directories(folder);
    const int scale = picture.Width() <= 200 && picture.Height() <= 200 ? 4 : 1;
    platform::Picture big(picture.Width() * scale, picture.Height() * scale);
    big.Stretch(0, 0, big.Width(), big.Height(), picture, 0, 0, picture.Width(), picture.Height(),
                platform::StretchMode::ColourOnColour);
    return big.SaveAsPng(folder + "/" + name + ".png");
}

// Where in a rectangle the pixels that are not `back` lie; empty (right < left) when none.
struct Ink {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, count = 0;
    bool Empty() const { return count == 0; }
};
inline Ink InkOf(const platform::Picture& p, platform::Colour back, int x0, int y0, int x1, int y1) {
    Ink ink;
    for (int y = std::max(0, y0); y < std::min(p.Height(), y1); ++y)
        for (int x = std::max(0, x0); x < std::min(p.Width(), x1); ++x)
            if (p.GetPixel(x, y) != back) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ++ink.count;
            }
    return ink;
}

} // namespace reviewpictures
