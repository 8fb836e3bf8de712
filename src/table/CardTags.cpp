#include "table/CardTags.h"

#include "controls/TranspImg.h"
#include "state/TableState.h"

#include <cstdlib>

std::int16_t CardOfTag(const std::string& tag) {
    if (tag.empty()) return 0;
    const long card = std::strtol(tag.c_str(), nullptr, 10);
    if (card < 0 || card > 32767 || !CardTable::Contains(static_cast<int>(card))) return 0;
    return static_cast<std::int16_t>(card);
}

std::int16_t CardShownBy(const controls::TranspImg* image) {
    return image ? CardOfTag(image->Surface().Tag()) : std::int16_t{0};
}
