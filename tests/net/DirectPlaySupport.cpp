#include "DirectPlaySupport.h"

#include "controls/TranspImg.h"
#include "controls/zLabelA.h"
#include "platform/Files.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "state/MarkersMgmt.h"
#include "state/Model.h"
#include "table/MainForm.h"

#include <chrono>
#include <filesystem>
#include <sstream>

namespace directplay {

const std::string kGame =
    "[GAME]\nname=Test cards\ndescription=A game for two\nplayers=2\ncommon_decks=1\n"
    "directory=img\nexternal_hand=FALSE\n"
    "[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\n"
    "[PLAYER 2]\nname=Bob\nlayout=9000,1500,2400,6000\n"
    "[DICE]\nnum_dices=1\ndice1=3,Three\n"
    "[OPTIONS]\nnum_options=4\noption1=Red,Red army,1,TRUE\noption2=Blue,Blue army,1,FALSE\n"
    "option3=Red2,Red army,2,FALSE\noption4=Blue2,Blue army,2,TRUE\n"
    "[CHAT]\nmessage1=Hello\nmessage3=Good luck\n"
    "[COMMON 1]\nname=Stock \xA7 1\ndeckSize=8\nimg_back=back.png\nimg_discard=empty.png\n"
    "split=FALSE\ndeal=2\nzoom=100\n"
    "card1=f1.png,,,k1,\ncard2=f2.png,,,k2,\ncard3=f3.png,,,k3,\ncard4=f4.png,,,k4,\n"
    "card5=f5.png,,,k5,\ncard6=f6.png,,,k6,\ncard7=f7.png,,,k7,\ncard8=f8.png,,,k8,\n";

int FreePort() {
    platform::Socket probe;
    probe.LocalPort = 0;
    probe.Listen();
    return probe.ListeningPort();
}

Folder::Folder() {
    Model().Reset();
    platform::SetProgramFolder(folder_.Path());
    std::filesystem::create_directories(folder_.Path() + "/img");
    std::filesystem::create_directories(folder_.Path() + "/save");
    int shade = 0;
    for (const std::string name : {"back", "empty", "f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8"})
        platform::Picture(40, 56, platform::MakeColour(shade += 20, 120, 200))
            .SaveAsPng(folder_.Path() + "/img/" + name + ".png");
    folder_.Write("test.game", kGame);
    NetPort = FreePort();
    folder_.Write("direct.ini", "[DIRECTPLAY]\nport=" + std::to_string(NetPort) + "\n");
}

Folder::~Folder() {
    CloseConnection();
    AllowGameTransferMessages(false);
    platform::SetProgramFolder("");
    Model().Reset();
}

void Folder::WriteGame(const std::string& name, const std::string& definition) const {
    folder_.Write(name, definition);
}

bool PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        platform::WaitForEvents(10);
    }
    return true;
}

Peer::Peer() {
    reader_.SetLimit(kMaxGameTransferMessage);
    socket.DataArrival = [this] { reader_.Feed(socket.GetData(socket.BytesReceived())); };
    socket.ConnectionRequest = [this](long id) { socket.Accept(id); };
}

bool Peer::Connect() {
    socket.Connect("127.0.0.1", NetPort);
    return PumpUntil([this] { return Connected() && NetSocketState() == platform::Socket::kConnected; });
}

void Peer::Listen() {
    socket.LocalPort = NetPort;
    socket.Listen();
}

void Peer::Send(const std::string& command, const std::vector<std::string>& fields) {
    socket.SendData(*BuildNetMessage(command, fields) + std::string(kNetTerminator));
}

std::optional<std::string> Peer::NextRaw() {
    if (!PumpUntil([this] { return reader_.HasMessage(); })) return std::nullopt;
    return reader_.TakeMessage();
}

std::optional<NetCommand> Peer::Next() {
    const std::optional<std::string> raw = NextRaw();
    if (!raw) return std::nullopt;
    return ParseNetMessage(*raw);
}

std::string TableDigest() {
    std::ostringstream out;
    MainForm* table = TableWindow();
    for (int c = 1; c <= Game.totalCards; ++c) {
        const CardRecord& r = Cards[c];
        out << "card " << c << ": owner " << r.owner << " deck " << r.deck << " pile " << r.pilePosition
            << " discard " << r.inDiscardPile << " eliminated " << r.eliminated << " rotation " << r.rotation
            << " hand " << r.inHand << " down " << r.keptFaceDown << " control " << r.controlIndex;
        if (table && r.controlIndex >= 0 && table->crd(r.controlIndex))
            out << " at " << table->crd(r.controlIndex)->Surface().Left() << ","
                << table->crd(r.controlIndex)->Surface().Top();
        out << "\n";
    }
    for (int d = 0; d < Game.deckCount; ++d)
        out << "deck " << d << ": next " << Game.nextDrawPositions[d] << " discard "
            << Game.nextDiscardPositions[d] << " last " << Game.lastDiscarded[d] << " locked "
            << Game.decks[d].locked << "\n";
    out << "z:";
    for (int z = 1; z <= Game.zOrderCount; ++z)
        out << " " << Game.ZOrderList[z].kind << "/" << Game.ZOrderList[z].index;
    // A marker's visibility depends on the seat that looks (one on another seat's hand card is
    // hidden) and is left out; the card it lies on (its Tag) is not.
    out << "\nnext numerical marker " << NextNumMarker << "\nnumerical markers:";
    for (int m = 0; m < kMaxMarkers; ++m) {
        if (NumMarkerInUse[m] == kFalse) continue;
        out << " " << m;
        if (const controls::zLabelA* label = table ? table->markerNum(m) : nullptr)
            out << "=" << label->caption() << "@" << label->Surface().Left() << "," << label->Surface().Top()
                << " size " << label->Surface().Width() << "x" << label->Surface().Height() << " on "
                << label->Surface().Tag();
    }
    out << "\nimage markers:";
    for (int m = 1; m <= GraphMarkerCount; ++m) {
        const MarkerInstanceRecord& r = GraphMarkers[m];
        out << " " << r.kind << "/" << r.inUse << "/" << r.face << "/" << r.flipped << "/" << r.rotation
            << "/" << r.owner;
        if (r.inUse == kFalse) continue;
        if (const controls::TranspImg* image = table ? table->mrk(m - 1) : nullptr)
            out << "@" << image->Surface().Left() << "," << image->Surface().Top() << " size "
                << image->Surface().Width() << "x" << image->Surface().Height() << " on "
                << image->Surface().Tag();
    }
    out << "\ndice:";
    for (int i = 1; i <= kDiceLogSize; ++i)
        if (DiceLog[i].serial != 0) out << " " << DiceLog[i].serial << "=" << DiceLog[i].text;
    out << "\n";
    return out.str();
}

} // namespace directplay
