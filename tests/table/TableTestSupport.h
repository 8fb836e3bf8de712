// A table window opened on a small definition in a temporary program folder, with pictures made
// for the test: faces f1.png, f2.png, ..., the back back.png and the discard picture empty.png.
#pragma once

#include "TestSupport.h"
#include "net/MultiplayerMgmt.h"
#include "state/Model.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/TableSetup.h"

#include <memory>
#include <string>

namespace tabletest {

constexpr int kFaceWidth = 40; // pixels
constexpr int kFaceHeight = 56;

class TableFixture {
  public:
    TableFixture();
    ~TableFixture();

    // Writes the definition as test.game (pictures in the folder "img") and sets the game up for
    // seat `seat`; the result of the set-up.
    bool Start(const std::string& definition, std::int16_t seat = 1);
    // Writes a picture of the test's size in one colour.
    void WritePicture(const std::string& name, int width = kFaceWidth, int height = kFaceHeight) const;
    std::string GameFile() const;

    MainForm& Table() { return *table_; }
    const testsupport::TempProgramFolder& Folder() const { return folder_; }

  private:
    testsupport::TempProgramFolder folder_;
    std::unique_ptr<MainForm> table_;
};

// Installs direct play's outbox while it lives, as the connection dialog does while it is loaded,
// so that the table's actions reach the send hook.
class NetOutboxInstalled {
  public:
    NetOutboxInstalled() : previous_(SetTableOutbox(&NetOutbox())) {}
    ~NetOutboxInstalled() { SetTableOutbox(previous_); }
    NetOutboxInstalled(const NetOutboxInstalled&) = delete;
    NetOutboxInstalled& operator=(const NetOutboxInstalled&) = delete;

  private:
    TableOutbox* previous_;
};

// The last card dealt to a seat's area; 0 when none.
std::int16_t DealtCardOf(std::int16_t seat);

// The point where a card control's picture starts, in table twips.
int PictureLeft(const controls::TranspImg& card);
int PictureTop(const controls::TranspImg& card);

} // namespace tabletest
