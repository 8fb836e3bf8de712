#include "services/DiceRoller.h"

#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "services/DebugMgmt.h"
#include "services/Evaluator.h"
#include "services/LogMgmt.h"
#include "state/Helpers.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "state/TableView.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

const std::string kGlobalTable = "GLOBAL\\";
const std::string kLineBreak = "\r\n";

DiceHistoryObserver* g_observer = nullptr;

std::string GlobalsFile() {
    return platform::ProgramFolder() + "\\globals.dat";
}

bool IsGlobalTable(const std::string& table) {
    return table.compare(0, kGlobalTable.size(), kGlobalTable) == 0;
}

std::string WithLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += kLineBreak;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void ReadDie(DiceDef& die, const std::string& value) {
    const std::vector<std::string> fields = GetFields(value, 3);
    const std::string& formula = fields[0];
    die.repeat = 1;
    die.name = fields[1];
    if (!formula.empty() && formula[0] == '$') {
        const std::string global = GetIni("DICES", formula.substr(1), GlobalsFile());
        if (global.empty()) {
            ShowMsg("Default dice " + formula + " not found");
            // A table left from an earlier game would turn this die's rolls into that game's texts.
            die.formula = formula;
            die.table.clear();
            return;
        }
        die.formula = GetField(global, 1);
        die.table = GetField(global, 2);
        return;
    }
    die.table = fields[2];
    if (formula.compare(0, 2, "(x") == 0) {
        die.repeat = LeadingInt16(formula.substr(2));
        const std::size_t close = formula.find(')');
        die.formula = close == std::string::npos ? std::string() : StripBlanks(formula.substr(close + 1));
    } else {
        die.formula = formula;
    }
}

// The result of a roll as the table text gives it; a marker kind when the text names one.
struct RollResult {
    std::string text;
    std::int16_t markerKind = -1;
    std::int16_t markerOwner = 0;
};

RollResult ResultOf(const DiceDef& die, std::int32_t number) {
    RollResult result;
    if (die.table.empty()) {
        result.text = std::to_string(number);
        return result;
    }
    if (auto value = die.values.find("value" + std::to_string(number)); value != die.values.end())
        result.text = value->second;
    if (!die.markerMode) return result;
    const std::int16_t owner = LeadingInt16(GetField(result.text, 1));
    const std::int16_t position = LeadingInt16(GetField(result.text, 2));
    const std::int16_t kind = position >= 1 ? ParseListEntry(position, std::to_string(owner)) : 0;
    // A text that names no marker kind stands as it is and places nothing.
    if (kind >= 1 && kind <= MarkerKindCount) {
        result.markerKind = kind;
        result.markerOwner = owner;
        result.text = MarkerKinds[kind].label;
    }
    return result;
}

// Reads the die's result table: a "GLOBAL\" table of globals.dat always places markers, one of
// the definition when its useMarkers says so.
void ReadResultTable(DiceDef& die) {
    die.values.clear();
    die.markerMode = false;
    if (die.table.empty()) return;
    const bool global = IsGlobalTable(die.table);
    const std::string file = global ? GlobalsFile() : CurrentGameFile;
    const std::string section = "TABLE " + (global ? die.table.substr(kGlobalTable.size()) : die.table);
    for (const std::string& key : platform::IniKeys(file, section))
        die.values.emplace(platform::AnsiLower(key), WithLineBreaks(GetIni(section, key, file)));
    die.markerMode = global || GetBoolDirective(section, "useMarkers", false);
}

std::optional<MarkerPlace> PlaceRolledMarker(const RollResult& result) {
    const std::string& cascade = DiceRollSettings.markerCascade;
    if (cascade.empty()) return View().PlaceImageMarker(result.markerKind, result.markerOwner, -1, -1, false);
    const std::vector<std::string> f = GetFields(cascade, 4);
    const int k = DiceMarkerCascade;
    const std::int32_t x = RoundToInt32(LeadingNumber(f[0]) + LeadingNumber(f[2]) * k);
    const std::int32_t y = RoundToInt32(LeadingNumber(f[1]) + LeadingNumber(f[3]) * k);
    DiceMarkerCascade = ClampToInt16(k + 1LL);
    return View().PlaceImageMarker(result.markerKind, result.markerOwner, x, y, true);
}

} // namespace

void LoadDice() {
    int count = LeadingInt16(GetIni("DICE", "num_dices", CurrentGameFile));
    if (count > kMaxDice) {
        ShowMsg("You can define up to " + std::to_string(kMaxDice) + " dices");
        count = kMaxDice;
    }
    // One look at each file for the whole reading.
    platform::IniReadScope scope;
    DiceCount = 0;
    for (int k = 1; k <= count; ++k) {
        ReadDie(Dice[k], GetIni("DICE", "dice" + std::to_string(k), CurrentGameFile));
        ReadResultTable(Dice[k]);
        ++DiceCount;
    }
    DiceRollSettings.logRolls = LogAllDiceRolls();
    DiceRollSettings.markerCascade = GetIni("GAME", "newDiceMarker", CurrentGameFile);
}

bool IsDefinedDie(int die) {
    return die >= 1 && die <= DiceCount && DiceTable::Contains(die);
}

namespace {

// One roll of the die: counted, listed, entered into the ring and the game log, passed on, and
// its marker placed. Nothing when the evaluator fails (after its message).
std::optional<std::string> RollOnce(std::int16_t die, bool show) {
    const DiceDef& def = Dice[die];
    double value = 0;
    try {
        // Setting the formula evaluates it once already; the second evaluation is the roll.
        ev.SetFormula(def.formula);
        value = ev.Evaluate();
    } catch (const EvaluatorError& error) {
        ShowMsg("Error " + std::to_string(error.Number()) + ": " + error.Description());
        return std::nullopt;
    }
    const RollResult result = ResultOf(def, RoundToInt32(value));

    Game.diceSerial = NextDiceSerial(Game.diceSerial);
    if (show && g_observer) g_observer->RollShown(DiceRollLines(Game.diceSerial, def.name, result.text));
    AddDiceLogEntry(die, result.text);
    if (DiceRollSettings.logRolls) AddLogEntry(def.name + ": " + result.text);

    std::optional<MarkerPlace> marker;
    if (result.markerKind != -1) marker = PlaceRolledMarker(result);
    View().DiceRolled(die, result.text, result.markerKind, result.markerOwner, marker);
    return result.text;
}

} // namespace

std::string RollDice(std::int16_t die, bool show, bool withName) {
    if (!IsDefinedDie(die)) return {};
    // "(x3)" rolls three times. More rolls than the ring keeps would push the first ones out of
    // it before anyone saw them.
    const int times = std::clamp<int>(Dice[die].repeat, 1, kDiceLogSize);
    std::string texts;
    int rolled = 0;
    // The send of each roll lets events run: the game may have gone meanwhile.
    while (rolled < times && IsDefinedDie(die)) {
        const std::optional<std::string> text = RollOnce(die, show);
        if (!text) break;
        texts += (rolled++ > 0 ? ", " : "") + *text;
    }
    if (rolled == 0 || !IsDefinedDie(die)) return texts;
    return withName ? Dice[die].name + ": " + texts : texts;
}

void AddDiceLogEntry(std::int16_t die, const std::string& text) {
    int position = Game.diceLogPosition;
    // A position from elsewhere outside the ring starts it again rather than writing past it.
    if (position < 0 || position > kDiceLogSize) position = 0;
    position = position % kDiceLogSize + 1;
    Game.diceLogPosition = static_cast<std::int16_t>(position);
    DiceLog[position] = DiceLogEntry{Game.diceSerial, die, text};
}

std::int16_t NextDiceSerial(std::int16_t serial) {
    return serial >= std::numeric_limits<std::int16_t>::max() || serial < 0
               ? std::int16_t{1}
               : static_cast<std::int16_t>(serial + 1);
}

bool ReceiveDiceRoll(std::int16_t die, const std::string& text) {
    if (!IsDefinedDie(die)) {
        DebugLog("dropped", "a roll of die " + std::to_string(die) + ", which the game does not define");
        return false;
    }
    Game.diceSerial = NextDiceSerial(Game.diceSerial);
    AddDiceLogEntry(die, text);
    return true;
}

std::vector<std::string> DiceRollLines(std::int16_t serial, const std::string& name,
                                       const std::string& text) {
    std::vector<std::string> lines;
    const std::string prefix = std::to_string(serial) + "\t" + name + "\t";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(kLineBreak, start);
        const std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        lines.push_back((lines.empty() ? prefix : "\t\t\t") + line);
        if (end == std::string::npos) break;
        start = end + kLineBreak.size();
    }
    return lines;
}

std::vector<std::string> DiceLogLines() {
    std::vector<std::string> lines;
    const int newest = Game.diceLogPosition;
    if (newest < 1 || newest > kDiceLogSize) return lines;
    // Walking back from the newest entry finds every roll the ring holds, whatever the serials
    // did (they wrap, and a loaded game may hold any).
    std::vector<int> positions;
    for (int step = 0; step < kDiceLogSize; ++step) {
        const int position = (newest - 1 - step + kDiceLogSize) % kDiceLogSize + 1;
        if (DiceLog[position].serial == 0) break;
        positions.push_back(position);
    }
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        const DiceLogEntry& entry = DiceLog[*it];
        const std::string name = IsDefinedDie(entry.die) ? Dice[entry.die].name : std::string();
        for (std::string& line : DiceRollLines(entry.serial, name, entry.text))
            lines.push_back(std::move(line));
    }
    return lines;
}

bool DiceUsesMarkers(std::int16_t die) {
    if (!IsDefinedDie(die) || Dice[die].table.empty()) return false;
    const std::string& table = Dice[die].table;
    if (IsGlobalTable(table))
        return platform::AnsiUpper(GetIni("TABLE " + table.substr(kGlobalTable.size()), "useMarkers",
                                          GlobalsFile())) == "TRUE";
    return GetBoolDirective("TABLE " + table, "useMarkers", false);
}

void ResetDiceMarkerCascade() {
    DiceMarkerCascade = 0;
}

DiceHistoryObserver* SetDiceHistoryObserver(DiceHistoryObserver* observer) {
    std::swap(g_observer, observer);
    return observer;
}
