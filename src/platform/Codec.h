// Windows-1252 text at the edges: the model keeps ANSI bytes in std::string, the file system and
// Qt speak Unicode. Our own 256-entry table, so the conversion is the same on every machine.
#pragma once

#include <string>

namespace platform {

// UTF-8 text from Windows-1252 bytes. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so every byte
// round-trips.
std::string Utf8FromAnsi(const std::string& ansi);

// Windows-1252 bytes from UTF-8 text. A character the code page cannot hold becomes "?",
// as the Windows conversion does; malformed UTF-8 bytes are taken as Latin-1.
std::string AnsiFromUtf8(const std::string& utf8);

// The Unicode code point of one Windows-1252 byte, and back (-1 when it has no byte).
char32_t CodePointOfAnsi(unsigned char byte);
int AnsiOfCodePoint(char32_t cp);

} // namespace platform

namespace platform {

// Upper and lower case of Windows-1252 text, letters of the code page included, as the
// Windows string functions change them. Lengths never change.
std::string AnsiUpper(std::string text);
std::string AnsiLower(std::string text);

// Case-insensitive equality of two Windows-1252 texts.
bool AnsiEqualNoCase(const std::string& a, const std::string& b);

} // namespace platform
