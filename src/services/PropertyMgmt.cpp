#include "services/PropertyMgmt.h"
void SetCardProperties(std::int16_t, const std::string&) {}
std::string GetCardProperty(std::int16_t, const std::string&) {
    return {};
}
std::string GetListValue(const std::string&, const std::string&, const std::string&) {
    return {};
}
void LoadReports(const std::string&) {}
void ResetReports() {}
