#include "table/Outbox.h"

#include <utility>

namespace {

TableOutbox g_silent;
TableOutbox* g_outbox = nullptr;

} // namespace

TableOutbox* SetTableOutbox(TableOutbox* outbox) {
    return std::exchange(g_outbox, outbox);
}

TableOutbox& Outbox() {
    return g_outbox ? *g_outbox : g_silent;
}
