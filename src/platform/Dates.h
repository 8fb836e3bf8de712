// Dates as the user reads them: a file's last change in the short date and time format of the
// user's locale, for the lists that show when a file was written.
#pragma once

#include <string>

namespace platform {

// The file's last modification, local time, as the locale writes a short date and time; "" when
// the file cannot be found.
std::string FileDateText(const std::string& path);

// Tests fix the locale of the dates ("de_DE", "en_US", ...); "" goes back to the user's.
void SetDateLocale(const std::string& name);

} // namespace platform
