#include "state/Helpers.h"

#include "common/FaultMessages.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "state/LogStore.h"
#include "state/Model.h"

#include <bit>
#include <chrono>
#include <cmath>
#include <ctime>
#include <random>

bool GetBoolDirective(const std::string& section, const std::string& key, bool defaultValue) {
    return GetBoolDirective(section, key, defaultValue, CurrentGameFile);
}

bool GetBoolDirective(const std::string& section, const std::string& key, bool defaultValue,
                      const std::string& file) {
    const std::string field = GetField(GetIni(section, key, file), 1, ",");
    if (field.empty()) return defaultValue;
    const std::string upper = platform::AnsiUpper(field);
    if (upper == "TRUE") return true;
    if (upper == "FALSE") return false;
    // Many directives are read again at every hand change, card menu or roll.
    const std::string shown = file + "\n" + platform::AnsiUpper(section) + "\n" + platform::AnsiUpper(key);
    if (Model().directiveMessagesShown.insert(shown).second)
        ShowMsg("Directive " + key + " in section [" + section + "] has an invalid value: " + field);
    return false;
}

void ForgetDirectiveMessages() {
    Model().directiveMessagesShown.clear();
    ForgetShownFaults();
}

double NextRandom() {
    // 53 random bits give every double in [0, 1) the generator can reach, and never 1.
    return static_cast<double>(Model().random() >> 11) * 0x1.0p-53;
}

void SeedRandom(double seed) {
    Model().random.seed(std::bit_cast<std::uint64_t>(seed));
}

void SeedRandomFromEntropy() {
    std::random_device device;
    const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                     static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    std::seed_seq seeds{device(),
                        device(),
                        device(),
                        device(),
                        static_cast<std::uint32_t>(now),
                        static_cast<std::uint32_t>(now >> 32)};
    Model().random.seed(seeds);
}

void SeedRandomFromBytes(std::string_view bytes) {
    // FNV-1a: the same on every machine, whatever its byte order or its library.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    Model().random.seed(hash);
}

std::int16_t RandomInt(int n) {
    // The bare formula gives 0 and negative numbers for n below 0, which no caller can use as a
    // place in a list; 1 is what n = 0 gives.
    if (n <= 0) return 1;
    return ClampToInt16(static_cast<long long>(std::floor(n * NextRandom() + 1)));
}

std::int32_t DateCode(const CalendarDate& date) {
    using namespace std::chrono;
    const year_month_day ymd{year{date.year}, month{static_cast<unsigned>(date.month)},
                             day{static_cast<unsigned>(date.day)}};
    const year_month_day newYear{year{date.year}, January, day{1}};
    const int dayOfYear = static_cast<int>((sys_days{ymd} - sys_days{newYear}).count()) + 1;
    const int century = date.year / 100 - 19;
    return century * 100000 + (date.year % 100) * 1000 + dayOfYear;
}

double GetTimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const CalendarDate today{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    return DateCode(today) * 10.0 + local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

void ResetTableState() {
    DraggedCard = -1;
    DraggedMarker = -1;
    HandWindowWidth = -1;
    LoadedCardControls = 0;
    NextNumMarker = 1;
    // Marks left from the previous game would make controls look free or markers look present
    // that belong to nothing now.
    CardControlFree.Fill(kFalse);
    NumMarkerInUse.Fill(kFalse);
    // A new table hands out image markers from record 1 again.
    GraphMarkerCount = 0;
    GraphMarkers.Fill(MarkerInstanceRecord{});
    InitLog();
    ForgetDirectiveMessages();
}
