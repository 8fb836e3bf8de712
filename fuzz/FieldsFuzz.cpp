// The field and number helpers on any texts. Input: text, separator and item, separated by
// newlines. With a one-character separator the fields joined again give the text back.
#include "FuzzSupport.h"

#include "state/Helpers.h"
#include "common/Numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzzsupport::Split(data, size, "\n", 3);
    const std::string& text = parts[0];
    const std::string separator = parts.size() > 1 ? parts[1] : ",";
    const std::string item = parts.size() > 2 ? parts[2] : "";

    CountFields(text, separator); // no default separator here, unlike GetField
    const std::string used = separator.empty() ? "," : separator;
    const std::int16_t count = CountFields(text, used);
    fuzzsupport::Check(count >= 1, "at least one field");
    if (used.size() == 1 && count < 2000) {
        std::string joined;
        for (std::int16_t n = 1; n <= count; ++n)
            joined += (n > 1 ? used : "") + GetField(text, n, separator);
        fuzzsupport::Check(joined == text, "fields joined give the text");
        fuzzsupport::Check(GetField(text, static_cast<std::int16_t>(count + 1), separator).empty(),
                           "no field past the last");
    }
    for (std::int16_t n :
         {std::int16_t{-1}, std::int16_t{0}, std::int16_t{1}, std::int16_t{2}, std::int16_t{32767}})
        GetField(text, n, separator);
    const std::int16_t at = FieldIndexOf(item, text, used);
    fuzzsupport::Check(at >= 0 && at <= count, "index within the list");

    for (const std::string* s : {&text, &separator, &item}) {
        const double value = LeadingNumber(*s);
        fuzzsupport::Check(!std::isnan(value), "a leading number is a number");
        // Over blanks, digits, points, signs and exponents the C library reads the same number,
        // save that a number too large for a double is the largest one instead of infinity.
        if (s->find_first_not_of(" 0123456789.eE+-") == std::string::npos) {
            const double expected = std::strtod(s->c_str(), nullptr);
            fuzzsupport::Check(value == (std::isinf(expected)
                                             ? std::copysign(std::numeric_limits<double>::max(), expected)
                                             : expected),
                               "the number the C library reads");
        }
        LeadingInt16(*s);
        const std::string shown = FormatNumber(value);
        fuzzsupport::Check(std::isinf(value) || shown.find(',') == std::string::npos, "point, not comma");
    }
    return 0;
}
