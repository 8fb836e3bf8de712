// The text codec: every Windows-1252 text survives the trip to UTF-8 and back, any bytes taken as
// UTF-8 give ANSI text, and changing case never changes a length.
#include "FuzzSupport.h"

#include "platform/Codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform;
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzzsupport::Check(AnsiFromUtf8(Utf8FromAnsi(text)) == text, "ANSI round trip");
    const std::string ansi = AnsiFromUtf8(text);
    fuzzsupport::Check(AnsiFromUtf8(Utf8FromAnsi(ansi)) == ansi, "decoded text round trip");
    const std::string upper = AnsiUpper(text), lower = AnsiLower(text);
    fuzzsupport::Check(upper.size() == text.size() && lower.size() == text.size(), "case keeps lengths");
    fuzzsupport::Check(AnsiEqualNoCase(upper, lower), "case-insensitive equality of both cases");
    for (std::size_t i = 0; i < text.size() && i < 64; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        fuzzsupport::Check(AnsiOfCodePoint(CodePointOfAnsi(byte)) == byte, "byte table round trip");
    }
    return 0;
}
