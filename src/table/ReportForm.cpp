#include "table/ReportForm.h"

#include "platform/Keys.h"
#include "services/PropertyMgmt.h"
#include "state/TableState.h"

#include <algorithm>

ReportForm::ReportForm() {
    form.SetCaption("Reports");
    form.Resize(6000, 4500);
    form.SetKeyPreview(true);
    ReporList.Move(120, 120, 5640, 3840);
    form.OnResize = [this] {
        ReporList.SetWidth(std::max(0, form.ScaleWidth() - 240));
        ReporList.SetHeight(std::max(0, form.ScaleHeight() - 240));
    };
    form.OnKeyDown = [this](int keyCode, int) {
        if (keyCode == platform::keys::kEscape) form.Unload();
    };
}

void ShowReports(ReportForm& window) {
    const bool ended = Game.GamePhase == kPhaseEnded;
    if (ReportCount <= 0 && !ended) return;
    window.form.Load();
    window.ReporList.Clear();
    for (const std::string& line : ReportLines())
        window.ReporList.AddItem(line);
    if (ended)
        for (const std::string& line : EndGameStatistics())
            window.ReporList.AddItem(line);
    window.form.Show();
}
