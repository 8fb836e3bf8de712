// The seat login: the user picks a seat, types its seat ID (claiming a free seat with whatever
// is typed) and logs in, for a player's seat in test mode if wished, or as the arbitrator. It
// answers through CurrentPlayer, AllCardsVisible, ArbitratorLoggedIn and DialogResult.
#pragma once

#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/Form.h"

#include <cstdint>
#include <string>

class LoginForm {
  public:
    LoginForm();
    ~LoginForm();
    LoginForm(const LoginForm&) = delete;
    LoginForm& operator=(const LoginForm&) = delete;

    platform::Form form;
    platform::ControlArray<platform::OptionButton> SideOption;
    platform::Label IDlabel{form.Handle()};
    platform::TextBox IDtxt{form.Handle()};
    platform::CheckBox testModeOpt{form.Handle()};
    platform::CommandButton OptBtn{form.Handle()};
    platform::CommandButton Command1{form.Handle()};
    platform::CommandButton Command2{form.Handle()};

  private:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void OptBtn_Click();
    // Checks the typed ID against the chosen seat's, or claims a free seat with it.
    bool VerifySeatID();
    // The chosen button, from 0; 0 when none is chosen.
    int SelectedIndex() const;
    // The index of the arbitrator's button; -1 when the game has no arbitrator seat.
    int ArbitratorIndex() const;
    // A player seat's line: its name, its option in brackets when the game has options, and
    // " ***" while the seat is free.
    static std::string SeatCaption(std::int16_t seat);
};

// The seat login window open now (the newest); nullptr when none is.
LoginForm* LoginWindow();

// What logging in to a player seat does: the seat becomes the local one, with the owner
// restrictions lifted in test mode; in a game without an arbitrator seat the turn counter goes up.
void TakePlayerSeat(std::int16_t seat, bool testMode);
