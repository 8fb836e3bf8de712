#include "services/OptionMgmt.h"
void InitGameOptions() {}
Flag HasOptions() {
    return kFalse;
}
std::int16_t DefaultOptionOf(std::int16_t) {
    return 0;
}
std::string SelectedOptionLabel(std::int16_t) {
    return {};
}
std::int16_t FindOptionByName(const std::string&) {
    return -1;
}
Flag IsOptionExprActive(const std::string&) {
    return kFalse;
}
std::string DeckSectionFor(std::int16_t, std::int16_t, const std::string&) {
    return {};
}
void FillOptionList(const std::string&, std::int16_t, OptionList&) {}
std::string OptionNameFromLabel(const std::string&, std::int16_t, const std::string&) {
    return {};
}
std::int16_t OptionIndexFromLabel(const std::string&, std::int16_t, const std::string&) {
    return 0;
}
