#include "common/Messages.h"

#include "platform/Seams.h"

void ShowMsg(const std::string& text) {
    platform::ShowMessage(text);
}
