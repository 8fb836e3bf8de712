// A card control showing any image file: loaded in its square frame, turned, selected with its
// halo, greyed and zoomed. No picture may grow past the limits, however small the file.
#include "FuzzSupport.h"

#include "controls/TranspImg.h"
#include "platform/Picture.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::Start(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using platform::Picture;
    fuzzsupport::WriteFile("card.img", std::string(reinterpret_cast<const char*>(data), size));
    std::int64_t frameSide = 0;
    if (auto picture = Picture::Load("card.img")) {
        fuzzsupport::Check(picture->Width() <= Picture::kMaxSide && picture->Height() <= Picture::kMaxSide,
                           "side within the limit");
        fuzzsupport::Check(std::int64_t{picture->Width()} * picture->Height() <= Picture::kMaxPixels,
                           "pixels within the limit");
        frameSide = std::int64_t{picture->Width()} + picture->Height();
    }
    controls::TranspImg card;
    card.reset();
    card.MaskColor(platform::MakeColour(255, 0, 255));
    card.loadNewPicture("card.img");
    // A picture thousands of pixels wide is turned and haloed at a cost in proportion to its square
    // frame, as it should be, and that takes seconds under the fuzzer's instrumentation: the
    // benchmarks measure that cost, the fuzzer looks for faults. Loading it above still runs.
    if (frameSide > 1400) return 0;
    card.rotation(90);
    card.selected(true);
    card.rotation(45);
    card.GreyScale(true);
    card.zoom(150);
    card.rotation(0);
    card.selected(false);
    card.loadNewPicture("card.img", true);
    return 0;
}
