#include "table/ReportForm.h"

#include "common/Messages.h"
#include "platform/Keys.h"
#include "state/PropertyMgmt.h"
#include "state/TableState.h"
#include "table/MainForm.h"

#include <algorithm>
#include <string>
#include <vector>

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
    // Until the game ends (when its statistics show), a game without reports has nothing to show:
    // it says so rather than nothing, or the player takes the key for broken.
    if (ReportCount <= 0 && !ended) {
        ShowMsg("This game has no reports");
        return;
    }
    std::vector<std::string> lines = ReportLines();
    if (ended) {
        const std::vector<std::string> statistics = EndGameStatistics();
        lines.insert(lines.end(), statistics.begin(), statistics.end());
    }
    window.form.Load();
    window.ReporList.Clear();
    window.ReporList.AddItems(lines);
    KeepAboveTable(window.form);
    window.form.Show();
}
