#include "state/ZOrder.h"

#include "state/TableState.h"
#include "state/TableView.h"

#include <algorithm>

namespace {

// The count in use, kept inside the table whatever a loaded game holds.
int Count() {
    Game.zOrderCount = static_cast<std::int16_t>(std::clamp<int>(Game.zOrderCount, 0, kMaxZOrder));
    return Game.zOrderCount;
}

int Search(std::int16_t kind, std::int16_t index) {
    const int count = Count();
    for (int i = 1; i <= count; ++i)
        if (Game.ZOrderList[i].kind == kind && Game.ZOrderList[i].index == index) return i;
    return 0;
}

} // namespace

void RemoveFromZOrder(std::int16_t kind, std::int16_t index) {
    const int found = Search(kind, index);
    if (found == 0) return;
    const int count = Count();
    for (int j = found + 1; j <= count; ++j)
        Game.ZOrderList[j - 1] = Game.ZOrderList[j];
    Game.zOrderCount = static_cast<std::int16_t>(count - 1);
}

void BringToFrontZOrder(std::int16_t kind, std::int16_t index, std::int16_t toBack) {
    const int found = Search(kind, index);
    int count = Count();
    if (toBack == 0) {
        if (found != 0) {
            for (int j = found + 1; j <= count; ++j)
                Game.ZOrderList[j - 1] = Game.ZOrderList[j];
        } else if (count == kMaxZOrder) {
            // Full: the bottom entry gives way.
            for (int j = 2; j <= count; ++j)
                Game.ZOrderList[j - 1] = Game.ZOrderList[j];
        } else {
            ++count;
        }
        Game.ZOrderList[count] = ZOrderEntry{kind, index};
    } else {
        if (found != 0) {
            for (int j = found - 1; j >= 1; --j)
                Game.ZOrderList[j + 1] = Game.ZOrderList[j];
        } else {
            if (count == kMaxZOrder) return;
            for (int j = count; j >= 1; --j)
                Game.ZOrderList[j + 1] = Game.ZOrderList[j];
            ++count;
        }
        Game.ZOrderList[1] = ZOrderEntry{kind, index};
    }
    Game.zOrderCount = static_cast<std::int16_t>(count);
}

void ApplyZOrder() {
    const int count = Count();
    for (int i = 1; i <= count; ++i) {
        const ZOrderEntry entry = Game.ZOrderList[i];
        std::int16_t control = entry.index;
        if (entry.kind == kZCard) {
            if (!CardTable::Contains(entry.index)) continue;
            const CardRecord& card = Cards[entry.index];
            if (card.inDiscardPile != kFalse || card.controlIndex < 0) continue;
            control = card.controlIndex;
        } else if (entry.kind != kZNumMarker && entry.kind != kZImageMarker) {
            continue;
        }
        if (control < 0 || !View().ControlExists(entry.kind, control)) continue;
        View().BringControlToFront(entry.kind, control);
    }
}

std::int16_t FindCardInZOrder(std::int16_t controlIndex) {
    const int count = Count();
    for (int i = 1; i <= count; ++i) {
        const ZOrderEntry& entry = Game.ZOrderList[i];
        if (entry.kind == kZCard && CardTable::Contains(entry.index) &&
            Cards[entry.index].controlIndex == controlIndex)
            return static_cast<std::int16_t>(i);
    }
    return -1;
}

void ReplaceInZOrder(std::int16_t oldIndex, std::int16_t newIndex, std::int16_t kind) {
    const int count = Count();
    for (int i = 1; i <= count; ++i) {
        ZOrderEntry& entry = Game.ZOrderList[i];
        if (entry.index == oldIndex && entry.kind == kind) {
            entry.index = newIndex;
            return;
        }
    }
}
