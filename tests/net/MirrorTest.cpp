// Two copies of the engine in two processes, each with its own program folder, joined over
// 127.0.0.1 by the connection dialog: one serves, one joins. The test drives both through pipes
// and, after every action one side takes, compares the state of the two tables. A failure names
// the first action after which they differ and the seed that chose it.
//
// The same test program is each side: run with KARVEL_MIRROR_ROLE set, its MirrorSide.Run plays
// one side and answers the driver's lines; run otherwise, it is skipped.
#include "DirectPlaySupport.h"
#include "LatencyRelay.h"

#include "controls/TranspImg.h"
#include "controls/zLabelA.h"
#include "net/ChatForm.h"
#include "net/ConnectionForm.h"
#include "platform/Files.h"
#include "platform/Menu.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "platform/TextBox.h"
#include "services/DiceRoller.h"
#include "start/StartWindows.h"
#include "state/DecksMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/SaveRecord.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/MainForm.h"
#include "table/MarkerForm.h"
#include "table/TableMarkers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Reads lines from a descriptor, waiting at most a while for the next.
class LineReader {
  public:
    explicit LineReader(int fd) : fd_(fd) {}
    // While waiting, `idle` runs (a side lets its window events run there).
    std::optional<std::string> Next(int timeoutMs, const std::function<void()>& idle = {}) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const std::size_t cut = buffer_.find('\n');
            if (cut != std::string::npos) {
                std::string line = buffer_.substr(0, cut);
                buffer_.erase(0, cut + 1);
                return line;
            }
            if (std::chrono::steady_clock::now() > end) return std::nullopt;
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, idle ? 0 : 20) > 0) {
                char chunk[4096];
                const ssize_t n = read(fd_, chunk, sizeof chunk);
                if (n <= 0) return std::nullopt;
                buffer_.append(chunk, static_cast<std::size_t>(n));
            } else if (idle) {
                idle();
            }
        }
    }

  private:
    int fd_;
    std::string buffer_;
};

void WriteLine(int fd, const std::string& line) {
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::string Hash(const std::string& text) {
    return std::to_string(std::hash<std::string>{}(text));
}

// The cards of the table that the local seat may act on: common ones and its own.
std::vector<std::int16_t> ActableControls() {
    std::vector<std::int16_t> controls;
    CardActions* actions = Actions();
    for (int c = 1; c <= Game.totalCards; ++c) {
        const CardRecord& r = Cards[c];
        if (!IsTableCard(r, Game) || (r.owner != 0 && r.owner != Game.CurrentPlayer)) continue;
        if (actions->CardOfElement(r.controlIndex) == c) controls.push_back(r.controlIndex);
    }
    return controls;
}

// The test's game with more cards: twelve dealt to each seat, so that the few actions that take a
// card off the table for good leave enough to act on. Cards may be given, inverted and put back,
// the draw deck reshuffled; each seat has two image-marker kinds: Ann's turn by 90 and by 45
// degrees (the second with two back faces, flipped by a click), Bob's with a back shown upright
// and one that turns not at all and only its owner flips.
std::string MirrorGame() {
    std::string game = directplay::kGame;
    const auto insertAfter = [&game](const std::string& line, const std::string& more) {
        game.insert(game.find(line) + line.size(), more);
    };
    insertAfter("[GAME]\n", "cards_can_be_given=TRUE\n");
    insertAfter(
        "layout=3000,1500,2400,6000\n",
        "markers=2\nmarker1=m1.png,Shield,m1b.png,90,\nmarker2=m2.png,Dial,m2a.png+m2b.png,45,AUTOFLIP\n");
    insertAfter("layout=9000,1500,2400,6000\n", "markers=2\nmarker1=m3.png,Flag,m3b.png,90,FIXED_BACK\n"
                                                "marker2=m4.png,Coin,m4b.png,0,AUTOFLIP+RESTRICTED_FLIP\n");
    game.replace(game.find("[CHAT]\n"), 7, "[CARDMENU]\nuseInvert=TRUE\n[CHAT]\n");
    game.replace(game.find("deckSize=8"), 10,
                 "deckSize=40\nenableReshuffleDrawDeck=TRUE\ncards_can_be_put_back=TRUE");
    game.replace(game.find("deal=2"), 6, "deal=12");
    for (int k = 9; k <= 40; ++k)
        game += "card" + std::to_string(k) + "=f" + std::to_string(k % 8 + 1) + ".png,,,k" +
                std::to_string(k) + ",\n";
    return game;
}

// The pictures of the marker kinds, beside the cards' in the game's image folder.
void WriteMarkerPictures(const std::string& programFolder) {
    int shade = 0;
    for (const std::string name : {"m1", "m1b", "m2", "m2a", "m2b", "m3", "m3b", "m4", "m4b"})
        platform::Picture(16, 16, platform::MakeColour(200, shade += 20, 40))
            .SaveAsPng(programFolder + "/img/" + name + ".png");
}

// Presses something that opens a pop-up menu (`press`) and chooses `item` in it, as the player
// does; false when the menu did not offer the item.
bool ChooseFromMenu(const platform::Menu& item, const std::function<void()>& press) {
    bool offered = false;
    const platform::PopupHandler previous = platform::SetPopupHandler([&](const platform::Menu& menu) {
        const std::string caption = item.Caption();
        offered = menu.FindChoosable(caption) == &item;
        return offered ? caption : std::string();
    });
    press();
    platform::SetPopupHandler(previous);
    return offered;
}

constexpr int kRightButton = 2;

template <class T> T Pick(std::mt19937& random, const std::vector<T>& items) {
    return items[random() % items.size()];
}

// The numerical markers in use, by index, and the image markers in use, by control index.
std::vector<std::int16_t> NumericalMarkers(MainForm& table) {
    std::vector<std::int16_t> found;
    for (int m = 0; m < kMaxMarkers; ++m)
        if (NumMarkerInUse[m] != kFalse && table.markerNum(m)) found.push_back(static_cast<std::int16_t>(m));
    return found;
}

std::vector<std::int16_t> ImageMarkers(MainForm& table) {
    std::vector<std::int16_t> found;
    for (int n = 1; n <= GraphMarkerCount; ++n)
        if (GraphMarkers[n].inUse != kFalse && table.mrk(n - 1))
            found.push_back(static_cast<std::int16_t>(n - 1));
    return found;
}

// A random place on the table, in twips, where the seats' cards lie too.
platform::TwipPoint RandomPlace(std::mt19937& random) {
    return {static_cast<float>(1000 + random() % 11000), static_cast<float>(500 + random() % 7500)};
}

// The place (twips) that puts a control of that size in the middle of a card control.
platform::TwipPoint OnCard(MainForm& table, std::int16_t control, const platform::ControlSurface& marker) {
    const platform::ControlSurface& card = table.crd(control)->Surface();
    return {static_cast<float>(card.Left() + (card.Width() - marker.Width()) / 2),
            static_cast<float>(card.Top() + (card.Height() - marker.Height()) / 2)};
}

// Drags numerical marker m with the mouse so that its corner lands at `to` (twips).
void DragNumber(TableMarkers& markers, std::int16_t m, platform::TwipPoint to) {
    const platform::ControlSurface& s = TableWindow()->markerNum(m)->Surface();
    const float dx = to.x - static_cast<float>(s.Left());
    const float dy = to.y - static_cast<float>(s.Top());
    markers.markerNum_MouseDown(m, 1, 30, 30);
    markers.markerNum_MouseMove(m, 30 + dx, 30 + dy);
    markers.markerNum_MouseUp(m);
}

// Drags image marker control i with the mouse, in whole pixels, so that its corner lands near `to`.
void DragImage(TableMarkers& markers, std::int16_t i, platform::TwipPoint to) {
    const platform::ControlSurface& s = TableWindow()->mrk(i)->Surface();
    const float dx = std::round((to.x - static_cast<float>(s.Left())) / platform::kTwipsPerPixelX);
    const float dy = std::round((to.y - static_cast<float>(s.Top())) / platform::kTwipsPerPixelY);
    markers.mrk_MouseDown(i, 1, 5, 5);
    markers.mrk_MouseMove(i, 5 + dx, 5 + dy);
    markers.mrk_MouseUp(i);
}

// A drag of a card as the mouse makes it: press, one move, release, at most `reach` pixels away.
void DragCard(CardActions& actions, std::int16_t control, std::mt19937& random, int reach) {
    const platform::PixelPoint from{10, 10};
    const auto step = [&] {
        return static_cast<float>(static_cast<int>(random() % static_cast<unsigned>(2 * reach + 1)) - reach);
    };
    const float dx = step();
    const platform::PixelPoint to{from.x + dx, from.y + step()};
    actions.crd_MouseDown(control, 1, 0, from);
    actions.crd_MouseMove(control, 1, 0, to);
    actions.crd_MouseUp(control, 1, 0, to);
}

// A new numerical marker with the default value, as the table's button makes it; its index.
std::int16_t PlaceNumber(TableMarkers& markers) {
    const std::int16_t m = static_cast<std::int16_t>(NextNumMarker - 1);
    markers.addNumMarker_Click();
    return m;
}

// One action on markers: numerical ones placed, dragged, stepped, edited and deleted; image ones
// placed from the picker, dragged, flipped, clicked, turned and deleted; or a marker dropped on a
// card that is then dragged and carries it along.
std::string MarkerAction(std::mt19937& random, const std::vector<std::int16_t>& controls) {
    MainForm& table = *TableWindow();
    TableMarkers& markers = *table.Markers;
    const std::vector<std::int16_t> numbers = NumericalMarkers(table);
    const std::vector<std::int16_t> images = ImageMarkers(table);
    const unsigned what = random() % 15;
    if (what < 6 && numbers.empty()) return "place-number " + std::to_string(PlaceNumber(markers));
    if (what >= 6 && what < 13 && images.empty()) {
        std::vector<std::int16_t> own;
        for (int k = 1; k <= MarkerKindCount; ++k)
            if (MarkerKinds[k].owner == std::to_string(Game.CurrentPlayer))
                own.push_back(static_cast<std::int16_t>(k));
        if (own.empty()) return "refused place-image: no kind of this seat";
        std::int16_t kind = Pick(random, own);
        markers.addGraphMakerBtn_Click();
        MarkerPicker()->markerBar().ImageSelected(kind);
        return "place-image kind " + std::to_string(kind);
    }
    const std::int16_t m = numbers.empty() ? -1 : Pick(random, numbers);
    const std::int16_t i = images.empty() ? -1 : Pick(random, images);
    const std::string number = " number " + std::to_string(m);
    const std::string image = " image " + std::to_string(i);
    switch (what) {
    case 0:
        return "place-number " + std::to_string(PlaceNumber(markers));
    case 1:
        DragNumber(markers, m, RandomPlace(random));
        return "drag-number" + number;
    case 2:
    case 3: {
        const platform::Menu* steps[] = {&markers.Increase1, &markers.IncreaseMax, &markers.Decrease1,
                                         &markers.DecreaseMax};
        const platform::Menu& step = *steps[random() % 4];
        if (!ChooseFromMenu(step, [&] { markers.markerNum_MouseDown(m, kRightButton, 10, 10); }))
            return "refused step-number" + number;
        return "step-number" + number + " " + step.Caption();
    }
    case 4: {
        // The property dialog, closed after the label and the value were typed.
        const std::string label = Pick(random, std::vector<std::string>{"", "", "HP", "Gold"});
        const std::string value = Pick(random, std::vector<std::string>{"0", "7", "-3", "12.5", "x"});
        const platform::ModalHandler previous = platform::SetModalHandler([&](platform::Form& form) {
            if (TableMarkers::PropertyDialog* dialog = markers.MarkerPropForm()) {
                dialog->labelTxt->SetText(label);
                dialog->ValueTxt->SetText(value);
            }
            form.Unload();
        });
        markers.markerNum_DblClick(m);
        platform::SetModalHandler(previous);
        return "edit-number" + number + " to '" + label + "' '" + value + "'";
    }
    case 5:
        if (!ChooseFromMenu(markers.DeleteMarkerNum,
                            [&] { markers.markerNum_MouseDown(m, kRightButton, 10, 10); }))
            return "refused delete-number" + number;
        return "delete-number" + number;
    case 6:
    case 7:
        DragImage(markers, i, RandomPlace(random));
        return "drag-image" + image;
    case 8:
        if (!ChooseFromMenu(markers.FlipMrk, [&] { markers.mrk_MouseDown(i, kRightButton, 5, 5); }))
            return "refused flip-image" + image;
        return "flip-image" + image;
    case 9:
        // A click without moving: a kind that flips by a click flips.
        markers.mrk_MouseDown(i, 1, 5, 5);
        markers.mrk_MouseUp(i);
        return "click-image" + image;
    case 10:
    case 11: {
        const platform::Menu& turn =
            random() % 2 ? markers.MrkIncrementRotate : markers.MrkIncrementRotateLeft;
        if (!ChooseFromMenu(turn, [&] { markers.mrk_MouseDown(i, kRightButton, 5, 5); }))
            return "refused turn-image" + image;
        return "turn-image" + image + " " + turn.Caption();
    }
    case 12:
        if (!ChooseFromMenu(markers.DeleteMrk, [&] { markers.mrk_MouseDown(i, kRightButton, 5, 5); }))
            return "refused delete-image" + image;
        return "delete-image" + image;
    default: {
        if (controls.empty()) return "refused carry: no card";
        const std::int16_t control = Pick(random, controls);
        std::string carried;
        if (random() % 2 && i != -1) {
            DragImage(markers, i, OnCard(table, control, table.mrk(i)->Surface()));
            carried = image;
        } else {
            const std::int16_t n = m != -1 ? m : PlaceNumber(markers);
            if (!table.markerNum(n)) return "refused carry: no numerical marker";
            DragNumber(markers, n, OnCard(table, control, table.markerNum(n)->Surface()));
            carried = " number " + std::to_string(n);
        }
        // The drop sent and let events run: the card may have gone meanwhile.
        CardActions* actions = Actions();
        if (!actions || actions->CardOfElement(control) == 0) return "refused carry: the card went";
        DragCard(*actions, control, random, 60);
        return "carry" + carried + " on control " + std::to_string(control);
    }
    }
}

// One action on the decks and on cards that the other side repeats from its own commands or from
// the order the acting side sends: the draw deck or the discard pile reshuffled from their menus,
// a card put back into its deck and reshuffled, given to the other seat or inverted.
std::string DeckAction(std::mt19937& random, const std::vector<std::int16_t>& controls) {
    CardActions& actions = *Actions();
    const unsigned what = random() % 6;
    if (what == 0) {
        if (!ChooseFromMenu(actions.ReshuffleDrawDeckMenuItem, [&] {
                actions.DeckImg_MouseDown(0, kRightButton, {5, 5});
            }))
            return "refused shuffle-deck";
        return "shuffle-deck";
    }
    if (what == 1) {
        if (!ChooseFromMenu(actions.ReshuffleAction, [&] {
                actions.DiscardImg_MouseDown(0, kRightButton, {5, 5});
                actions.DiscardImg_MouseUp(0, kRightButton);
            }))
            return "refused shuffle-discards";
        return "shuffle-discards";
    }
    if (controls.empty()) return "refused: no card";
    const std::int16_t control = Pick(random, controls);
    const int card = actions.CardOfElement(control);
    const std::string which = " card " + std::to_string(card) + " control " + std::to_string(control);
    const auto openCardMenu = [&] { actions.crd_MouseDown(control, kRightButton, 0, {10, 10}); };
    if (what == 2) {
        if (!ChooseFromMenu(actions.PutBackAndReshuffle, openCardMenu)) return "refused put-back" + which;
        return "put-back" + which;
    }
    if (what == 5) {
        if (!ChooseFromMenu(actions.InvertCardMenuItem, openCardMenu)) return "refused invert" + which;
        return "invert" + which;
    }
    // The menu offers a seat's own cards to the other seats.
    const int other = Game.CurrentPlayer == 1 ? 2 : 1;
    if (!ChooseFromMenu(*actions.giveTo[static_cast<std::size_t>(other)], openCardMenu))
        return "refused give" + which;
    return "give" + which + " to seat " + std::to_string(other);
}

// One action chosen by the seed among those the other side's commands repeat: mostly turns,
// flips and rolls, then drags, draws and plays from the discard pile, now and then one that takes
// a card off the table for good; and actions on markers, shuffles, gifts, inversions and cards put
// back into their deck.
std::string RandomAction(unsigned seed) {
    std::mt19937 random(seed);
    CardActions* actions = Actions();
    const std::vector<std::int16_t> controls = ActableControls();
    const unsigned kind = random() % 100;
    if (actions && kind >= 76) return MarkerAction(random, controls);
    if (actions && kind >= 60) return DeckAction(random, controls);
    if (!actions || kind < 8) {
        RollDice(1, false, false);
        return "roll";
    }
    // No card left to act on: one comes from the deck.
    if (controls.empty()) {
        actions->DeckImg_DblClick(0);
        return "draw";
    }
    const std::int16_t control = controls[random() % controls.size()];
    const int card = actions->CardOfElement(control);
    actions->MenuCard = control;
    const std::string what = " card " + std::to_string(card) + " control " + std::to_string(control);
    if (kind < 26) {
        actions->Flip_Click();
        return "flip" + what;
    }
    if (kind < 38) {
        actions->RotateCrd_Click();
        return "rotate" + what;
    }
    switch (random() % 10) {
    case 0:
    case 1:
    case 2: {
        // Far enough, now and then, to carry a card into or out of a seat's area.
        DragCard(*actions, control, random, 120);
        return "move" + what;
    }
    case 3:
    case 4:
        actions->DeckImg_DblClick(0);
        return "draw";
    case 5:
        actions->MenuDeck = 0;
        actions->DrawLastDiscardItem_Click();
        return "play from the discard pile";
    case 6:
        actions->DiscardCardProcedure();
        return "discard" + what;
    case 7:
        actions->EliminateAction_Click();
        return "eliminate" + what;
    case 8:
        actions->TakeCardMenuItem_Click();
        return "take" + what;
    default:
        actions->Move2BottomOfDrawDeckItem_Click();
        return "to the bottom of the draw deck" + what;
    }
}

// Every card's control, when it has one, shows that card.
std::string BrokenInvariant() {
    CardActions* actions = Actions();
    if (!actions) return "no table";
    for (int c = 1; c <= Game.totalCards; ++c) {
        const CardRecord& r = Cards[c];
        if (!IsTableCard(r, Game)) continue;
        if (actions->CardOfElement(r.controlIndex) != c)
            return "card " + std::to_string(c) + " is not shown by its control " +
                   std::to_string(r.controlIndex);
    }
    return "";
}

// One side: serves or joins as KARVEL_MIRROR_ROLE says, then answers the driver's lines.
TEST(MirrorSide, Run) {
    const char* role = std::getenv("KARVEL_MIRROR_ROLE");
    if (!role) GTEST_SKIP() << "one side of the two-process test, run by it";
    const bool server = std::string(role) == "server";
    const int in = std::atoi(std::getenv("KARVEL_MIRROR_IN"));
    const int out = std::atoi(std::getenv("KARVEL_MIRROR_OUT"));
    directplay::Folder folder;
    folder.WriteGame("test.game", MirrorGame());
    WriteMarkerPictures(folder.Files().Path());
    folder.Files().Write("direct.ini",
                         std::string("[DIRECTPLAY]\nport=") + std::getenv("KARVEL_MIRROR_PORT") + "\n");
    testsupport::MessageRecorder messages;
    // The program's own way in: the game type window's direct-play button opens the dialog.
    StartWindows windows;
    windows.gameType.form.Show();
    ASSERT_TRUE(windows.gameType.DirectPlayBtn.Click);
    windows.gameType.DirectPlayBtn.Click();
    ConnectionForm& dialog = windows.connection;
    ASSERT_TRUE(dialog.form.Visible());
    dialog.PlayerName.SetText(server ? "Ann" : "Bob");
    dialog.PlayerID.SetListIndex(server ? 0 : 1);
    dialog.IPtxt.SetText("127.0.0.1");
    const auto pump = [] { platform::WaitForEvents(2); };
    if (server) {
        dialog.ServerCMD_Click();
        WriteLine(out, "listening");
    } else {
        dialog.ClientCMD_Click();
        directplay::PumpUntil([] { return NetSocketState() == platform::Socket::kConnected; });
        if (dialog.ClientCMD.Enabled()) dialog.ClientCMD_Click();
    }
    directplay::PumpUntil([&] { return dialog.Table() && dialog.Table()->Window().Visible(); });
    WriteLine(out, dialog.Table() ? "playing" : "no table: " + dialog.Log.Text());

    LineReader reader(in);
    while (const std::optional<std::string> line = reader.Next(60000, pump)) {
        std::istringstream words(*line);
        std::string command;
        words >> command;
        if (command == "act") {
            unsigned seed = 0;
            words >> seed;
            WriteLine(out, "acted " + RandomAction(seed));
        } else if (command == "sync") {
            std::string n;
            words >> n;
            SendChat("sync " + n);
            WriteLine(out, "synced");
        } else if (command == "wait") {
            std::string n;
            words >> n;
            const std::string mark = "*** > sync " + n;
            const bool arrived = directplay::PumpUntil([&] {
                if (!dialog.Chat) return false;
                const std::string log = dialog.Chat->MessageLog.Text();
                return log.size() >= mark.size() &&
                       log.compare(log.size() - mark.size(), mark.size(), mark) == 0;
            });
            // Every line so far was read: the log may go.
            if (dialog.Chat) dialog.Chat->MessageLog.SetText("\r\n");
            WriteLine(out, arrived ? "ready" : "timeout");
        } else if (command == "digest") {
            WriteLine(out, Hash(directplay::TableDigest()));
        } else if (command == "dump") {
            std::string dump = directplay::TableDigest();
            for (char& c : dump)
                if (c == '\n') c = '|';
            WriteLine(out, dump);
        } else if (command == "record") {
            const auto bytes =
                platform::ReadFileBytes(SaveFilePath("direct.save.data." + std::to_string(NetRole)));
            WriteLine(out, bytes ? Hash(*bytes) : "none");
        } else if (command == "check") {
            const std::string broken = BrokenInvariant();
            WriteLine(out, broken.empty() ? "sound" : broken);
        } else if (command == "draw") {
            // A card of the deck onto the table, as the player draws it; its number.
            const std::int16_t card = FindCard(0, Game.nextDrawPositions[0], false);
            if (CardActions* actions = Actions()) actions->DeckImg_DblClick(0);
            WriteLine(out, "drew " + std::to_string(card));
        } else if (command == "eliminate" || command == "tobottom") {
            // The card's own menu action, as the player chooses it.
            int card = 0;
            words >> card;
            CardActions* actions = Actions();
            if (actions && card >= 1 && card <= Game.totalCards) {
                actions->MenuCard = Cards[card].controlIndex;
                if (command == "eliminate")
                    actions->EliminateAction_Click();
                else
                    actions->Move2BottomOfDrawDeckItem_Click();
            }
            WriteLine(out, "acted");
        } else if (command == "quit") {
            break;
        }
    }
}

// The lines of two dumps ("|" ends each) that differ, the server's above the client's.
std::string Difference(const std::string& server, const std::string& client) {
    const auto lines = [](const std::string& dump) {
        std::vector<std::string> cut;
        std::istringstream in(dump);
        for (std::string line; std::getline(in, line, '|');)
            cut.push_back(line);
        return cut;
    };
    const std::vector<std::string> a = lines(server);
    const std::vector<std::string> b = lines(client);
    std::string text;
    for (std::size_t k = 0; k < std::max(a.size(), b.size()); ++k) {
        const std::string x = k < a.size() ? a[k] : "(none)";
        const std::string y = k < b.size() ? b[k] : "(none)";
        if (x != y) text += "server: " + x + "\nclient: " + y + "\n";
    }
    return text;
}

// Drives one side in a process of its own.
class Side {
  public:
    Side(const std::string& role, int port) {
        int toChild[2];
        int fromChild[2];
        // Neither side inherits the other's pipes: only its own two, at 3 and 4.
        EXPECT_EQ(pipe2(toChild, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(fromChild, O_CLOEXEC), 0);
        char self[4096] = {};
        EXPECT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            env.emplace_back(*e);
        env.push_back("KARVEL_MIRROR_ROLE=" + role);
        env.push_back("KARVEL_MIRROR_IN=3");
        env.push_back("KARVEL_MIRROR_OUT=4");
        env.push_back("KARVEL_MIRROR_PORT=" + std::to_string(port));
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string filter = "--gtest_filter=MirrorSide.Run";
        char* argv[] = {self, filter.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChild[0], 3);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], 4);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        EXPECT_EQ(posix_spawn(&pid_, self, &actions, nullptr, argv, envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(toChild[0]);
        close(fromChild[1]);
        in_ = toChild[1];
        out_ = fromChild[0];
        reader_ = std::make_unique<LineReader>(out_);
    }
    // A side that does not end within a while after "quit" is hung: it is killed and the test fails.
    ~Side() {
        WriteLine(in_, "quit");
        close(in_);
        int status = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (pid_ > 0 && waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            usleep(10000);
        }
        close(out_);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a side ended badly: " << status;
    }
    Side(const Side&) = delete;
    Side& operator=(const Side&) = delete;

    std::string Ask(const std::string& line) {
        WriteLine(in_, line);
        return Read();
    }
    void Tell(const std::string& line) { WriteLine(in_, line); }
    std::string Read() { return reader_->Next(30000).value_or("(no answer)"); }

  private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::unique_ptr<LineReader> reader_;
};

class TwoProcesses : public testing::Test {
  protected:
    void SetUp() override {
        const int port = directplay::FreePort();
        server_ = std::make_unique<Side>("server", port);
        ASSERT_EQ(server_->Read(), "listening");
        client_ = std::make_unique<Side>("client", port);
        ASSERT_EQ(server_->Read(), "playing");
        ASSERT_EQ(client_->Read(), "playing");
    }
    void TearDown() override {
        client_.reset();
        server_.reset();
    }

    std::unique_ptr<Side> server_;
    std::unique_ptr<Side> client_;
};

// The same two sides joined through a link that holds every byte for 0.3 seconds, so that actions
// the two players take at once cross on the wire.
class TwoProcessesWithLatency : public testing::Test {
  protected:
    void SetUp() override {
        const int port = directplay::FreePort();
        server_ = std::make_unique<Side>("server", port);
        ASSERT_EQ(server_->Read(), "listening");
        relay_ = std::make_unique<directplay::LatencyRelay>(port, std::chrono::milliseconds(300));
        client_ = std::make_unique<Side>("client", relay_->Port());
        ASSERT_EQ(server_->Read(), "playing");
        ASSERT_EQ(client_->Read(), "playing");
    }
    void TearDown() override {
        client_.reset();
        server_.reset();
        relay_.reset();
    }
    // Everything each side sent has arrived at the other.
    void Settle(int mark) {
        ASSERT_EQ(server_->Ask("sync " + std::to_string(mark)), "synced");
        ASSERT_EQ(client_->Ask("wait " + std::to_string(mark)), "ready");
        ASSERT_EQ(client_->Ask("sync " + std::to_string(mark + 1)), "synced");
        ASSERT_EQ(server_->Ask("wait " + std::to_string(mark + 1)), "ready");
    }

    std::unique_ptr<Side> server_;
    std::unique_ptr<Side> client_;
    std::unique_ptr<directplay::LatencyRelay> relay_;
};

// One side eliminates a card while the other moves it to the bottom of the draw deck: each runs
// its own action before the other's command arrives. The elimination wins on both sides.
TEST_F(TwoProcessesWithLatency, AnEliminationAndAMoveToTheBottomOfOneCardAtOnceEndEqual) {
    int mark = 1;
    for (int round = 1; round <= 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // The side that draws the card eliminates it; the sides take turns.
        Side& eliminator = round % 2 ? *server_ : *client_;
        Side& mover = round % 2 ? *client_ : *server_;
        const std::string drew = eliminator.Ask("draw");
        ASSERT_EQ(drew.rfind("drew ", 0), 0u) << drew;
        const std::string card = drew.substr(5);
        ASSERT_NE(card, "-1");
        Settle(mark);
        mark += 2;
        eliminator.Tell("eliminate " + card);
        mover.Tell("tobottom " + card);
        ASSERT_EQ(eliminator.Read(), "acted");
        ASSERT_EQ(mover.Read(), "acted");
        Settle(mark);
        mark += 2;
        const std::string a = server_->Ask("digest");
        const std::string b = client_->Ask("digest");
        ASSERT_EQ(a, b) << "card " << card << "\n" << Difference(server_->Ask("dump"), client_->Ask("dump"));
        const std::string dump = server_->Ask("dump");
        const std::size_t at = dump.find("card " + card + ":");
        ASSERT_NE(at, std::string::npos);
        EXPECT_THAT(dump.substr(at, dump.find('|', at) - at), testing::HasSubstr("eliminated -1"))
            << "the elimination wins";
        EXPECT_EQ(server_->Ask("check"), "sound");
        EXPECT_EQ(client_->Ask("check"), "sound");
    }
}

TEST_F(TwoProcesses, AThousandActionsTakingTurnsLeaveBothTablesEqual) {
    ASSERT_EQ(server_->Ask("digest"), client_->Ask("digest")) << server_->Ask("dump") << "\n"
                                                              << client_->Ask("dump");
    ASSERT_EQ(server_->Ask("record"), client_->Ask("record"));
    const unsigned base = static_cast<unsigned>(std::random_device{}());
    std::map<std::string, int> kinds;
    for (int step = 1; step <= 1000; ++step) {
        Side& actor = step % 2 ? *server_ : *client_;
        Side& other = step % 2 ? *client_ : *server_;
        const unsigned seed = base + static_cast<unsigned>(step);
        const std::string action = actor.Ask("act " + std::to_string(seed));
        ++kinds[action.substr(0, action.find(' ', 6))];
        ASSERT_EQ(actor.Ask("sync " + std::to_string(step)), "synced");
        ASSERT_EQ(other.Ask("wait " + std::to_string(step)), "ready") << "step " << step;
        const std::string a = server_->Ask("digest");
        const std::string b = client_->Ask("digest");
        ASSERT_EQ(a, b) << "the tables differ after step " << step << " (" << (step % 2 ? "server" : "client")
                        << ", " << action << ", seed " << seed << ")\n"
                        << Difference(server_->Ask("dump"), client_->Ask("dump"));
    }
    // Cards and dice were acted on in every way the test knows (a roll is one action in twelve, a
    // drag about one in fifteen, a draw one in twenty or more).
    EXPECT_GT(kinds["acted flip"] + kinds["acted rotate"], 100) << testing::PrintToString(kinds);
    EXPECT_GT(kinds["acted roll"], 40) << testing::PrintToString(kinds);
    EXPECT_GT(kinds["acted move"], 10) << testing::PrintToString(kinds);
    EXPECT_GT(kinds["acted draw"], 5) << testing::PrintToString(kinds);
    // Each action on markers, decks and gifts took place (each comes about one in seventy steps or
    // more often).
    for (const char* kind :
         {"place-number", "drag-number", "step-number", "edit-number", "delete-number", "place-image",
          "drag-image", "flip-image", "click-image", "turn-image", "delete-image", "carry", "shuffle-deck",
          "shuffle-discards", "put-back", "give", "invert"})
        EXPECT_GT(kinds[std::string("acted ") + kind], 0) << kind << ": " << testing::PrintToString(kinds);
}

TEST_F(TwoProcesses, ActionsOfBothSidesAtOnceKeepBothTablesSound) {
    const unsigned base = static_cast<unsigned>(std::random_device{}());
    for (int step = 1; step <= 100; ++step) {
        const unsigned seed = base + 2 * static_cast<unsigned>(step);
        server_->Tell("act " + std::to_string(seed));
        client_->Tell("act " + std::to_string(seed + 1));
        ASSERT_EQ(server_->Read().substr(0, 5), "acted") << "step " << step << ", seed " << seed;
        ASSERT_EQ(client_->Read().substr(0, 5), "acted") << "step " << step << ", seed " << seed + 1;
    }
    // Everything either side sent has arrived when the other's mark has.
    ASSERT_EQ(server_->Ask("sync 1"), "synced");
    ASSERT_EQ(client_->Ask("wait 1"), "ready");
    ASSERT_EQ(client_->Ask("sync 2"), "synced");
    ASSERT_EQ(server_->Ask("wait 2"), "ready");
    EXPECT_EQ(server_->Ask("check"), "sound") << "seeds from " << base;
    EXPECT_EQ(client_->Ask("check"), "sound") << "seeds from " << base;
}

} // namespace
