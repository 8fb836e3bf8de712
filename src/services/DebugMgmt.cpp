#include "services/DebugMgmt.h"

#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Seams.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/TableState.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>

namespace {

const std::string kTransferCommand = "DECKDATA";

std::string TimeOfDay() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string Bounded(const std::string& text) {
    if (text.size() <= kDebugTextLimit) return text;
    return text.substr(0, kDebugTextLimit) + " ... (" + std::to_string(text.size()) + " bytes)";
}

// Debug mode read without the directive's message: what asks for it runs on every received
// buffer, mouse move or fault, and a bad value would repeat the message each time.
bool DebugSwitchOn() {
    return !CurrentGameFile.empty() &&
           platform::AnsiUpper(GetIni("GAME", "debug", CurrentGameFile)) == "TRUE";
}

} // namespace

bool IsDebugMode() {
    return !CurrentGameFile.empty() && GetBoolDirective("GAME", "debug", false);
}

void DebugLog(const std::string& kind, const std::string& text) {
    if (!DebugSwitchOn()) return;
    if (text.compare(0, kTransferCommand.size(), kTransferCommand) == 0) return;
    const auto file = platform::ResolvePath("debug.log");
    if (!file) return;
    std::ofstream out(*file, std::ios::binary | std::ios::app);
    if (!out) return;
    out << TimeOfDay() << " [" << kind << "] " << Bounded(text) << "\n";
}

void InstallDebugErrorLogger() {
    // The logger it replaces keeps the faults of a session without debugging.
    auto previous = std::make_shared<platform::ErrorLogger>();
    *previous = platform::SetErrorLogger([previous](const std::string& text) {
        if (DebugSwitchOn()) {
            DebugLog("error", text);
        } else if (*previous) {
            (*previous)(text);
        } else {
            std::fprintf(stderr, "%s\n", text.c_str());
        }
    });
}

void CardDebugText(platform::Label& label, int element, const std::string& tag, int x, int y) {
    if (!DebugSwitchOn()) return;
    std::string text = "Crd index: " + std::to_string(element) + " - " + " deckIndex: " + tag;
    const std::int16_t card = LeadingInt16(tag);
    if (Cards.Contains(card)) {
        const CardRecord& record = Cards[card];
        if (IsCardInHand(static_cast<std::int16_t>(element), card)) text += " [hand]";
        if (record.faceShown) text += " [shown]";
        if (record.selectionMark != -1) text += " [selected]";
    }
    text += "[coord: " + std::to_string(x) + "," + std::to_string(y) + "]";
    label.SetCaption(text);
    label.SetVisible(true);
}
