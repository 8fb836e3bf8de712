#include "state/CardMgmt.h"
void DealCard(std::int16_t, std::int16_t, std::int16_t, std::int16_t, bool) {}
