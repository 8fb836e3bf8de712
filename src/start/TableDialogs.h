// The windows of the start road that a running table opens: the save dialog (the table's Save
// button) and the arbitrator's seat ID editor (F11). Every table the game list or the connection
// dialog makes is given them.
#pragma once

class MainForm;

void WireTableDialogs(MainForm& table);
