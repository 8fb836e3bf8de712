#include "services/GameHelp.h"

#include "common/Messages.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Seams.h"
#include "state/Helpers.h"
#include "state/TableState.h"

namespace {

bool HasOldHelpFormat(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string extension = platform::AnsiLower(name.substr(dot));
    return extension == ".hlp" || extension == ".chm";
}

} // namespace

void ShowGameHelp() {
    const std::string name = GetIni("GAME", "helpfile", CurrentGameFile);
    // Said rather than nothing, or the player takes the key for broken.
    if (name.empty()) {
        ShowMsg("This game has no help");
        return;
    }
    const std::string path = platform::ProgramFolder() + "\\" + Game.directory + "\\" + name;
    if (!platform::IsRegularFile(path)) {
        ShowMsg("Help file " + path + " not found");
        return;
    }
    if (HasOldHelpFormat(name)) {
        ShowMsg("Help file " + path + " cannot be shown: there is no viewer for its format here");
        return;
    }
    if (!platform::OpenDocument(path)) ShowMsg("Help file " + path + " cannot be opened");
}
