// The image file header reader on any bytes: bounded time, no read outside the file.
#include "FuzzSupport.h"

#include "controls/ImageInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    controls::ImageInfo info;
    info.ReadImageBytes(std::string(reinterpret_cast<const char*>(data), size));
    fuzzsupport::Check(info.FileSize() == static_cast<std::int32_t>(size), "file size");
    fuzzsupport::Check(info.ImageType() >= controls::ImageInfo::kUnknown &&
                           info.ImageType() <= controls::ImageInfo::kBmp,
                       "image type");
    return 0;
}
