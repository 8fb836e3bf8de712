// The report window: the reports' lines of the table as it stands and, after the game, its
// statistics. Modeless; Esc closes it.
#pragma once

#include "platform/Form.h"
#include "platform/Lists.h"

class ReportForm {
  public:
    ReportForm();

    platform::Form form;
    platform::ListBox ReporList{form.Handle()};
};

// Fills the window with the report lines (and the end-of-game statistics once the game has
// ended) and shows it. A game without reports shows nothing before its end.
void ShowReports(ReportForm& window);
