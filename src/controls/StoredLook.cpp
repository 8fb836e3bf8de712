#include "controls/StoredLook.h"

#include "common/Numbers.h"

namespace controls {

void StoredLook::ReadLook(const platform::PropertyBag& bag, const platform::Font& ambient,
                          bool withBackColor) {
    if (withBackColor) backColor_ = static_cast<platform::Colour>(bag.ReadInt("BackColor", 0));
    foreColor_ = static_cast<platform::Colour>(bag.ReadInt("ForeColor", 0));
    enabled_ = bag.ReadInt("Enabled", 0) != 0;
    font_ = bag.ReadFont("Font", ambient);
    backStyle_ = ClampToInt16(bag.ReadInt("BackStyle", 0));
    borderStyle_ = ClampToInt16(bag.ReadInt("BorderStyle", 0));
}

void StoredLook::WriteLook(platform::PropertyBag& bag, const platform::Font& ambient,
                           bool withBackColor) const {
    if (withBackColor) bag.WriteInt("BackColor", backColor_, 0);
    bag.WriteInt("ForeColor", foreColor_, 0);
    bag.WriteInt("Enabled", enabled_ ? -1 : 0, 0);
    bag.WriteFont("Font", font_, ambient);
    bag.WriteInt("BackStyle", backStyle_, 0);
    bag.WriteInt("BorderStyle", borderStyle_, 0);
}

} // namespace controls
