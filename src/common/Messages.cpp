#include "common/Messages.h"

#include "common/FaultMessages.h"

#include "platform/Seams.h"

#include <unordered_set>

namespace {

std::unordered_set<std::string>& ShownFaults() {
    static std::unordered_set<std::string> shown;
    return shown;
}

} // namespace

void ShowMsg(const std::string& text) {
    platform::ShowMessage(text);
}

void ShowMsgOnce(const std::string& fault, const std::string& text) {
    if (ShownFaults().insert(fault).second)
        ShowMsg(text);
    else
        platform::LogError(text);
}

void ForgetShownFaults() {
    ShownFaults().clear();
}
