// Reads the size, the kind and a GIF's transparent colour from an image file's header, without
// decoding the picture. Every read is checked against the file's end, so a truncated or hostile
// file gives what could be read, in bounded time.
#pragma once

#include <cstdint>
#include <string>

namespace controls {

class ImageInfo {
  public:
    static constexpr std::int32_t kUnknown = 0;
    static constexpr std::int32_t kGif = 1;
    static constexpr std::int32_t kJpeg = 2;
    static constexpr std::int32_t kPng = 3;
    static constexpr std::int32_t kBmp = 4;

    std::int32_t ImageWidth() const { return width_; }
    std::int32_t ImageHeight() const { return height_; }
    std::int32_t ImageType() const { return type_; }
    std::int32_t FileSize() const { return fileSize_; }
    std::int16_t TranspIndex() const { return transpIndex_; }
    bool HasTransparency() const { return hasTransparency_; }
    // The transparent colour, red in the low byte.
    std::int32_t TranspRGB() const { return red_ + 256 * green_ + 65536 * blue_; }

    // Reads a file (a path of the model). A missing or empty file leaves the type 0.
    void ReadImageInfo(const std::string& fileName);
    // The same reading on bytes already in memory.
    void ReadImageBytes(const std::string& bytes);

  private:
    void ReadGif();
    void ReadJpeg();
    bool Has(std::size_t offset, std::size_t count) const;
    std::uint8_t Byte(std::size_t offset) const;
    std::int32_t WordLE(std::size_t offset) const;
    std::int32_t WordBE(std::size_t offset) const;

    std::string bytes_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t type_ = kUnknown;
    std::int32_t fileSize_ = 0;
    std::int16_t transpIndex_ = 0;
    std::int16_t red_ = 0;
    std::int16_t green_ = 0;
    std::int16_t blue_ = 0;
    bool hasTransparency_ = false;
};

} // namespace controls
