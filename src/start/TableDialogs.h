// The windows above the table that a running table opens: the start road's save dialog (the
// table's Save button) and seat ID editor (the arbitrator's F11), and the chat window of direct
// play (F4, Ctrl with F1 to F8). Every table the game list or the connection dialog makes is given
// them.
#pragma once

class MainForm;

void WireTableDialogs(MainForm& table);
