#include "services/EvaluatorDates.h"

#include "services/EvaluatorMath.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace evaluator_dates {

namespace {

using namespace std::chrono;

// The platform's date serials count from 30 December 1899; formulas count from the first day of
// the Gregorian calendar, 115858 days earlier.
constexpr double kGregorianOffset = 115858;
constexpr sys_days kSerialOrigin = sys_days{year{1899} / December / 30};

// Whole numbers separated by one separator character; at most `maxParts` parts of 1 to 4 digits.
std::optional<std::vector<int>> SplitNumbers(std::string_view text, char separator, std::size_t maxParts) {
    std::vector<int> parts;
    std::size_t i = 0;
    while (true) {
        int value = 0;
        std::size_t digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 5) {
            value = value * 10 + (text[i] - '0');
            ++i, ++digits;
        }
        if (digits == 0 || digits > 4) return std::nullopt;
        parts.push_back(value);
        if (i == text.size()) break;
        if (text[i] != separator || parts.size() == maxParts) return std::nullopt;
        ++i;
    }
    return parts;
}

std::optional<sys_days> ReadDate(std::string_view text) {
    int y;
    int m;
    int d;
    if (auto iso = SplitNumbers(text, '-', 3); iso && iso->size() == 3 && text.find('-') == 4) {
        y = (*iso)[0], m = (*iso)[1], d = (*iso)[2];
    } else if (auto us = SplitNumbers(text, '/', 3); us && us->size() == 3) {
        m = (*us)[0], d = (*us)[1], y = (*us)[2];
        // Two-digit years mean 1930 to 2029.
        const std::size_t yearDigits = text.size() - text.rfind('/') - 1;
        if (yearDigits <= 2) y += y < 30 ? 2000 : 1900;
    } else {
        return std::nullopt;
    }
    // The calendar types keep a day and a month in one byte: range them first, or 257 wraps to 1.
    if (y < 100 || m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
    const year_month_day date{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    if (!date.ok()) return std::nullopt;
    return sys_days{date};
}

std::optional<double> ReadTime(std::string_view text) {
    auto parts = SplitNumbers(text, ':', 3);
    if (!parts || parts->size() < 2) return std::nullopt;
    const int h = (*parts)[0];
    const int m = (*parts)[1];
    const int s = parts->size() == 3 ? (*parts)[2] : 0;
    if (h > 23 || m > 59 || s > 59) return std::nullopt;
    return (h * 3600 + m * 60 + s) / 86400.0;
}

std::string WithNow(std::string_view text, const std::function<EvaluatorClockTime()>& clock) {
    std::size_t at = text.find("now");
    if (at == std::string_view::npos) return std::string(text);
    if (!clock) evaluator_math::Raise(evaluator_errors::TypeMismatch);
    const EvaluatorClockTime t = clock();
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d@%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    // Built in one pass: replacing in place would move the rest of a long text at every "now".
    std::string result;
    std::size_t from = 0;
    for (; at != std::string_view::npos; at = text.find("now", from)) {
        result.append(text.substr(from, at - from));
        result.append(stamp);
        from = at + 3;
    }
    result.append(text.substr(from));
    return result;
}

struct DateAndTime {
    sys_days date;
    double timeFraction;
};

DateAndTime Read(std::string_view text, const std::function<EvaluatorClockTime()>& clock) {
    const std::string full = WithNow(text, clock);
    const std::string_view t = full;
    const std::size_t at = t.find('@');
    if (at != std::string_view::npos) {
        const auto date = ReadDate(t.substr(0, at));
        const auto time = ReadTime(t.substr(at + 1));
        if (date && time) return {*date, *time};
    } else if (const auto date = ReadDate(t)) {
        return {*date, 0};
    } else if (const auto time = ReadTime(t)) {
        // A time alone lies on the serials' first day, as the platform reads it.
        return {kSerialOrigin, *time};
    }
    evaluator_math::Raise(evaluator_errors::TypeMismatch);
}

} // namespace

double DayCount(std::string_view text, const std::function<EvaluatorClockTime()>& clock) {
    const DateAndTime dt = Read(text, clock);
    const double serial = static_cast<double>((dt.date - kSerialOrigin).count());
    return serial + dt.timeFraction + kGregorianOffset;
}

int Weekday(std::string_view text, const std::function<EvaluatorClockTime()>& clock) {
    return static_cast<int>(weekday{Read(text, clock).date}.iso_encoding());
}

} // namespace evaluator_dates
