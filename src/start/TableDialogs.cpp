#include "start/TableDialogs.h"

#include "net/ChatForm.h"
#include "start/PlayerPasswdForm.h"
#include "start/SaveForm.h"
#include "table/MainForm.h"

#include <memory>

void WireTableDialogs(MainForm& table) {
    table.Others.showSaveForm = [] { ShowSaveForm(); };
    // The chat keys work in every kind of game; without a connection dialog nothing shows.
    table.Others.showChat = ShowChatWindow;
    // One editor per table, made when first asked for: it goes with the table.
    auto seatIds = std::make_shared<std::unique_ptr<PlayerPasswdForm>>();
    table.Others.showSeatIds = [seatIds] {
        if (!*seatIds) *seatIds = std::make_unique<PlayerPasswdForm>();
        (*seatIds)->form.Show();
    };
}
