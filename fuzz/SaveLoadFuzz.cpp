// A saved game loaded onto the table, as a save file or a game received in direct play reaches
// it: the record of a small game in play, changed byte by byte. Input: patches of four bytes
// each, a place in the record (three bytes, little-endian, taken modulo its size) and the byte
// written there; a last part shorter than four bytes cuts the record to the place it names.
// Whatever the record holds, the load never ends the program; a record that loads lays out its
// table with every card on its own control, and saves again to a file that loads.
#include "TableFuzzSupport.h"

#include "platform/Application.h"
#include "platform/Picture.h"
#include "state/Model.h"
#include "state/SaveRecord.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/MainForm.h"
#include "table/SaveGameMgmt.h"
#include "table/TableSetup.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Two seats with areas, two common decks (the second fitting its pile's picture to the card and
// zoomed), and an image marker kind.
const char* const kGame =
    "[GAME]\nplayers=2\ncommon_decks=2\ndirectory=img\n"
    "[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\nmarkers=1\n"
    "marker1=coin.png,Coin,cback.png,90,\n"
    "[PLAYER 2]\nname=Bob\nlayout=6500,1500,1500,6000\n"
    "[DICE]\nnum_dices=1\ndice1=6,Six\n"
    "[COMMON 1]\nname=Stock\ndeckSize=6\nimg_back=back.png\nimg_discard=empty.png\n"
    "split=FALSE\ndeal=1\nrotate=0,90,180\n"
    "card1=f1.png,,,key1,\ncard2=f2.png,,,key2,\ncard3=f3.png,,,key3,\n"
    "card4=f4.png,,,key4,\ncard5=f5.png,,,key5,\ncard6=f6.png,,,key6,\n"
    "[COMMON 2]\nname=Tiles\ndeckSize=2\nimg_back=back.png\nimg_discard=empty.png\nresize=TRUE\nzoom=150\n"
    "split=FALSE\ndeal=0\ncard1=f1.png,,,t1,\ncard2=f2.png,,,t2,\n"
    "[Setup Default]\nmarkers=2\nmarker1=NUM,5,x,1200,3400,HP\nmarker2=IMG,1,1,600,900\n";

MainForm* g_table = nullptr;
std::string g_record;

// The game set up and played a little: cards drawn, one discarded, one eliminated; its record.
std::string PlayedGame() {
    Model().Reset();
    Game.CurrentPlayer = 1;
    if (!SetUpNewGame(*g_table, (fuzzsupport::Folder() / "load.game").string()))
        fuzzsupport::Check(false, "the game sets up");
    Game.GamePhase = kPhasePlaying;
    CardActions& actions = *g_table->cardActions;
    for (int k = 0; k < 3; ++k)
        actions.DeckImg_DblClick(0);
    for (int card = 1; card <= Game.totalCards; ++card) {
        if (!IsTableCard(Cards[card], Game)) continue;
        actions.DiscardCardProcedure_body(static_cast<std::int16_t>(card), Cards[card].controlIndex);
        break;
    }
    for (int card = Game.totalCards; card >= 1; --card) {
        if (!IsTableCard(Cards[card], Game)) continue;
        actions.EliminateCardBody(Cards[card].controlIndex, static_cast<std::int16_t>(card));
        break;
    }
    if (!SaveGame("base.save")) fuzzsupport::Check(false, "the game saves");
    const auto bytes = platform::ReadFileBytes(SaveFilePath("base.save"));
    fuzzsupport::Check(bytes.has_value(), "the save reads back");
    return *bytes;
}

void CheckTable() {
    const CardActions* actions = Actions();
    fuzzsupport::Check(actions != nullptr, "the table stays open");
    for (int card = 1; card <= Game.totalCards; ++card)
        if (IsTableCard(Cards[card], Game))
            fuzzsupport::Check(actions->CardOfElement(Cards[card].controlIndex) == card,
                               "a loaded card's control shows it");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::Start(false);
    g_table = &fuzzsupport::StartTable();
    fuzzsupport::WriteFile("load.game", kGame);
    std::filesystem::create_directories(fuzzsupport::Folder() / "save");
    g_record = PlayedGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string record = g_record;
    std::size_t at = 0;
    for (; at + 4 <= size && !record.empty(); at += 4) {
        const std::size_t place = (data[at] | (data[at + 1] << 8) | (data[at + 2] << 16)) % record.size();
        record[place] = static_cast<char>(data[at + 3]);
    }
    if (at < size && !record.empty()) {
        std::size_t cut = 0;
        for (; at < size; ++at)
            cut = cut * 256 + data[at];
        record.resize(cut % record.size());
    }
    fuzzsupport::WriteFile("save/fuzz.save", record);
    try {
        Model().Reset();
        if (!LoadSavedGame("fuzz.save", false)) return 0;
        Game.CurrentPlayer = 1;
        RestoreLoadedTable();
        Game.GamePhase = kPhasePlaying;
        CheckTable();
        // A save reported as done loads again.
        if (SaveGame("again.save"))
            fuzzsupport::Check(LoadSavedGame("again.save", false), "a save made loads");
    } catch (const fuzzsupport::ProgramEnded&) {
        fuzzsupport::Check(false, "a load never ends the program");
    }
    return 0;
}
