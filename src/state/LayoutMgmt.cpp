#include "state/LayoutMgmt.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Ini.h"
#include "state/EffectMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"

#include <algorithm>
#include <cstdlib>

namespace {

int SeatsWithAreas() {
    return std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
}

// Positions are written as the 32-bit floats the table keeps them as.
std::string Position(double twips) {
    return FormatNumber(static_cast<float>(twips));
}

std::string RectText(const LayoutRect& r) {
    return Position(r.top) + "," + Position(r.left) + "," + Position(r.height) + "," + Position(r.width);
}

std::string Int16Text(double value) {
    return std::to_string(RoundToInt16(value));
}

} // namespace

void LoadPlayerLayouts() {
    for (int p = 1; p <= SeatsWithAreas(); ++p) {
        const std::string rect = GetIni("PLAYER " + std::to_string(p), "layout", CurrentGameFile);
        if (rect.empty()) continue;
        Game.players[p].hasTableArea = kTrue;
        SetPlayerAreaShape(static_cast<std::int16_t>(p - 1), rect, kFalse);
    }
}

void ShowHandLines(const std::string& file) {
    const bool hideAll = GetIni("GAME", "show_hand_lines", file) == "false" || Game.external_hand != kFalse;
    for (int p = 1; p <= SeatsWithAreas(); ++p)
        ShowPlayerArea(static_cast<std::int16_t>(p - 1), hideAll ? kFalse : Game.players[p].hasTableArea);
}

std::string DeckLayoutSection(int deck) {
    const DeckRecord& d = Game.decks[deck];
    if (d.splitCount < 0) return d.section + " SPLIT " + std::to_string(-d.splitCount);
    return d.section;
}

std::string NumMarkerLayoutLine(const std::string& caption, double top, double left) {
    std::string label;
    std::string value = caption;
    if (const auto colon = caption.find(": "); colon != std::string::npos) {
        label = caption.substr(0, colon);
        value = caption.substr(colon + 2);
    }
    return "NUM," + Int16Text(LeadingNumber(value)) + ",," + Position(top) + "," + Position(left) + "," +
           label;
}

std::string ImageMarkerLayoutLine(std::int16_t record, double top, double left) {
    const MarkerInstanceRecord& marker = GraphMarkers[record];
    std::string owner;
    int ordinal = 0;
    if (MarkerKindTable::Contains(marker.kind)) {
        owner = MarkerKinds[marker.kind].owner;
        // The kind is named by its place among the kinds of the same owner, which survives kinds
        // of other owners being added before it.
        for (int k = 1; k <= marker.kind; ++k)
            if (MarkerKinds[k].owner == owner) ++ordinal;
    }
    std::string line =
        "IMG," + std::to_string(ordinal) + "," + owner + "," + Position(top) + "," + Position(left);
    line += marker.flipped != kFalse ? ",TRUE" : ",";
    line += marker.rotation != 0 ? "," + std::to_string(marker.rotation) : ",";
    return line;
}

bool SaveLayout(const TableLayout& layout) {
    const std::string& file = CurrentGameFile;
    platform::IniWriteScope scope;
    WriteIni("GAME", "layout", RectText(layout.window), file);

    const int decks = std::clamp<int>(Game.deckCount, 0, kMaxDecks);
    for (int d = 0; d < decks; ++d) {
        if (Game.deckSizes[d] <= 0) continue;
        const std::string section = DeckLayoutSection(d);
        const auto at = static_cast<std::size_t>(d);
        if (at < layout.decks.size()) WriteIni(section, "layout_deck", RectText(layout.decks[at]), file);
        if (at < layout.discards.size())
            WriteIni(section, "layout_discard", RectText(layout.discards[at]), file);
    }

    for (int p = 1; p <= SeatsWithAreas(); ++p) {
        const PlayerAreaShape& area = PlayerAreas[p - 1];
        if (!area.visible) continue;
        WriteIni("PLAYER " + std::to_string(p), "layout",
                 RectText({static_cast<double>(area.top), static_cast<double>(area.left),
                           static_cast<double>(area.height), static_cast<double>(area.width)}),
                 file);
    }

    int count = 0;
    for (const TableLayout::NumMarker& m : layout.numMarkers) {
        if (m.control < 0 || m.control > NextNumMarker - 2 || !MarkerFlags::Contains(m.control) ||
            NumMarkerInUse[m.control] == kFalse)
            continue;
        ++count;
        WriteIni("Setup Default", "marker" + std::to_string(count),
                 NumMarkerLayoutLine(m.caption, m.top, m.left), file);
    }
    WriteIni("Setup Default", "markers", std::to_string(count), file);

    int images = 0;
    const int lastRecord = std::clamp<int>(GraphMarkerCount, 0, MarkerInstanceTable::kLast);
    for (const TableLayout::ImageMarker& m : layout.imageMarkers) {
        if (m.record < 1 || m.record > lastRecord || GraphMarkers[m.record].inUse == kFalse) continue;
        ++count;
        ++images;
        WriteIni("Setup Default", "marker" + std::to_string(count),
                 ImageMarkerLayoutLine(static_cast<std::int16_t>(m.record), m.top, m.left), file);
    }
    if (images > 0) WriteIni("Setup Default", "markers", std::to_string(count), file);

    for (const TableLayout::TableCard& c : layout.cards) {
        if (c.tag.empty() || c.control < 0 || c.control > INT16_MAX ||
            FindCardInZOrder(static_cast<std::int16_t>(c.control)) == -1)
            continue;
        const int card = std::atoi(c.tag.c_str());
        if (!CardTable::Contains(card) || CardHasEffect(static_cast<std::int16_t>(card), kOnPlay) == kFalse)
            continue;
        WriteIni("Setup Default", "deckIndex" + std::to_string(card),
                 Position(c.top) + "," + Position(c.left) + "," + std::to_string(Cards[card].rotation), file);
    }

    if (!scope.Commit()) return false;
    ShowMsg("Layout saved to " + file);
    return true;
}
