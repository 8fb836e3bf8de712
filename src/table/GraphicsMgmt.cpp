#include "table/GraphicsMgmt.h"
std::int32_t ParseColour(const std::string&) {
    return -1;
}
