#include "state/MarkersMgmt.h"

#include "common/FaultMessages.h"
#include "common/GraphicsMgmt.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "state/Helpers.h"

#include <algorithm>

namespace {

// The number of kinds a key asks for; -1 when the key is empty (the source contributes nothing).
int RequestedKinds(const std::string& value) {
    if (value.empty()) return -1;
    return std::max(0, static_cast<int>(LeadingInt16(value)));
}

// Cuts a request to the free records of the kind table, with the message that names the source.
int FitKinds(int requested, const std::string& what) {
    const int free = kMaxMarkerKinds - MarkerKindCount;
    if (requested <= free) return requested;
    ShowMsg("Max " + std::to_string(kMaxMarkerKinds) + " for game are available: " + what + " reduced to " +
            std::to_string(free));
    return free;
}

std::int16_t NextKind() {
    return ++MarkerKindCount;
}

// The owner text of the kinds every player may use.
const std::string kGlobalOwner = "0";

std::string GlobalsFile() {
    return platform::ProgramFolder() + "\\globals.dat";
}

} // namespace

void ParseMarkerDefinition(std::int16_t n, const std::string& line, const std::string& owner) {
    MarkerTypeRecord& kind = MarkerKinds[n];
    kind = MarkerTypeRecord{};
    kind.owner = StripBlanks(owner);
    kind.frontImage = GetField(line, 1, ",");
    kind.label = GetField(line, 2, ",");
    // A definition may ask for hundreds of kinds without a line: the first is shown, the others
    // logged.
    if (kind.label.empty())
        ShowMsgOnce("marker without label",
                    "Marker " + (kind.frontImage.empty() ? std::to_string(n) : kind.frontImage) +
                        " owner by " + kind.owner + " has no label");
    kind.backFaces = GetField(line, 3, ",");
    kind.number = LeadingInt16(GetField(line, 4, ","));
    kind.flags = platform::AnsiUpper(GetField(line, 5, ","));
    // Substring tests, as definitions have always been read: NOT_LOCKED also locks.
    auto has = [&](const char* word) { return kind.flags.find(word) != std::string::npos; };
    kind.locked = ToFlag(has("LOCKED"));
    kind.autoFlip = ToFlag(has("AUTOFLIP"));
    kind.restrictedFlip = ToFlag(has("RESTRICTED_FLIP"));
    kind.opaque = ToFlag(has("OPAQUE"));
}

void LoadMarkerDefinitions(const std::string& file) {
    MarkerKinds.Fill(MarkerTypeRecord{});
    MarkerKindCount = 0;
    MarkerGroups.Fill(MarkerGroupRecord{});
    MarkerGroupCount = 0;

    for (int p = 1; p <= std::min<int>(Game.playerCount, kMaxPlayers); ++p) {
        const std::string section = "PLAYER " + std::to_string(p);
        int n = RequestedKinds(GetIni(section, "markers", file));
        if (n < 0) continue;
        n = FitKinds(n, "markers for player " + std::to_string(p));
        for (int i = 1; i <= n; ++i) {
            const std::int16_t kind = NextKind();
            ParseMarkerDefinition(kind, GetIni(section, "marker" + std::to_string(i), file),
                                  std::to_string(p));
        }
    }

    const std::string globals = GlobalsFile();
    int n = RequestedKinds(GetIni("GLOBAL MARKERS", "markers", globals));
    if (n >= 0) {
        n = FitKinds(n, "common markers");
        for (int i = 1; i <= n; ++i) {
            const std::string line = GetIni("GLOBAL MARKERS", "marker" + std::to_string(i), globals);
            MarkerTypeRecord& kind = MarkerKinds[NextKind()];
            kind.frontImage = GetField(line, 1, ",");
            kind.label = GetField(line, 2, ",");
            kind.owner = kGlobalOwner;
        }
    }

    LoadMarkerGroups(file);
}

void LoadMarkerGroups(const std::string& file) {
    int groups = std::max(0, static_cast<int>(LeadingInt16(GetIni("MARKER GROUPS", "groups", file))));
    if (groups == 0) {
        MarkerGroupCount = 0;
        return;
    }
    if (groups > kMaxMarkerGroups) {
        ShowMsg("Max " + std::to_string(kMaxMarkerGroups) +
                " for game are available: marker groups reduced to " + std::to_string(kMaxMarkerGroups));
        groups = kMaxMarkerGroups;
    }
    MarkerGroupCount = static_cast<std::int16_t>(groups);
    for (int i = 1; i <= groups; ++i) {
        const std::string entry = GetIni("MARKER GROUPS", "group" + std::to_string(i), file);
        MarkerGroupRecord& group = MarkerGroups[i];
        group.caption = GetField(entry, 1, ",");
        group.name = GetField(entry, 2, ",");
        group.members = GetField(entry, 3, ",");
        const std::string section = group.name + " MARKERS";
        int k = RequestedKinds(GetIni(section, "markers", file));
        if (k > 0) k = FitKinds(k, "markers for group " + group.name);
        for (int j = 1; j <= k; ++j) {
            const std::int16_t kind = NextKind();
            ParseMarkerDefinition(kind, GetIni(section, "marker" + std::to_string(j), file), group.name);
        }
        group.transparentColour = ParseColour(GetIni(section, "transparentColor", file));
    }
    MarkerGroups[0].name = kGlobalMarkersName;
    MarkerGroups[0].members = "";
    for (int p = 1; p <= std::min<int>(Game.playerCount, kMaxPlayers); ++p)
        MarkerGroups[-p].members = std::to_string(p);
}

std::int16_t GetMaxIncrement() {
    const std::string value = GetIni("NUMERICAL MARKERS", "max_increment", CurrentGameFile);
    if (value.empty()) return 10;
    return LeadingInt16(value);
}

std::int16_t ParseListEntry(std::int16_t position, const std::string& owner) {
    const std::string wanted = StripBlanks(owner);
    int seen = 0;
    for (int kind = 1; kind <= MarkerKindCount; ++kind) {
        if (MarkerKinds[kind].owner != wanted) continue;
        if (++seen == position) return static_cast<std::int16_t>(kind);
    }
    return 0;
}

std::int16_t ListEntryOfType(std::int16_t kind) {
    if (!MarkerKindTable::Contains(kind)) return 0;
    int position = 1;
    for (int other = 1; other < kind; ++other)
        if (MarkerKinds[other].owner == MarkerKinds[kind].owner) ++position;
    return static_cast<std::int16_t>(position);
}

std::int16_t GroupIndexByName(const std::string& name) {
    // Only the groups of the definition: the reserved records have empty names that an empty
    // owner text would otherwise find.
    for (int group = 1; group <= MarkerGroupCount; ++group)
        if (MarkerGroups[group].name == name) return static_cast<std::int16_t>(group);
    return 0;
}

Flag IsMemberOfGroup(const std::string& name, const std::string& groupName) {
    const std::int16_t group = GroupIndexByName(groupName);
    if (group == 0) return kFalse;
    const std::string& members = MarkerGroups[group].members;
    if (members.empty()) return kTrue;
    const int count = CountFields(members, "+");
    for (int i = 1; i <= count; ++i)
        if (GetField(members, i, "+") == name) return kTrue;
    return kFalse;
}

Flag HasMarkerFlag(std::int16_t kind, const std::string& word) {
    if (!MarkerKindTable::Contains(kind)) return kFalse;
    const std::string& flags = MarkerKinds[kind].flags;
    if (flags.empty()) return kFalse;
    const std::string wanted = platform::AnsiUpper(word);
    const int count = CountFields(flags, "+");
    for (int i = 1; i <= count; ++i)
        if (GetField(flags, i, "+") == wanted) return kTrue;
    return kFalse;
}

std::string MarkerKindImagePath(std::int16_t kind) {
    if (!MarkerKindTable::Contains(kind)) return "";
    const std::string& front = MarkerKinds[kind].frontImage;
    if (!front.empty() && front[0] == '\\') return platform::ProgramFolder() + front;
    return platform::ProgramFolder() + "\\" + Game.directory + "\\" + front;
}
