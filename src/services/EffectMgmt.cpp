#include "services/EffectMgmt.h"
void LoadEffects() {}
void AssignCardEffects(std::int16_t, const std::string&) {}
std::int16_t FindEffect(const std::string&) {
    return -1;
}
Flag CardHasEffect(std::int16_t, const std::string&) {
    return kFalse;
}
void ProcessOnHandCards() {}
