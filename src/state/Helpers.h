// Small shared functions every part of the engine calls: one INI key, the field functions that cut
// separated lists apart, the TRUE/FALSE directive reader, paths, random numbers and the reset of
// the per-game interaction state. The editor uses GetIni, WriteIni, FileExists and GetField too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The value of a key (at most 254 characters); "" when the key, section or file is missing.
std::string GetIni(const std::string& section, const std::string& key, const std::string& file);

// Writes one key; non-zero on success.
std::int16_t WriteIni(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& file);

// Field n (from 1) of a text split at a separator ("" means ","); fields are never trimmed.
std::string GetField(const std::string& text, int n, const std::string& separator = ",");
// Fields 1 to n at once, each as GetField gives it, in one pass over the text.
std::vector<std::string> GetFields(const std::string& text, int n, const std::string& separator = ",");

// 1 plus the number of places at which the separator begins (overlapping ones included).
std::int16_t CountFields(const std::string& text, const std::string& separator);

// The 1-based place of an item in a list, compared without regard to case; 0 when absent.
std::int16_t FieldIndexOf(const std::string& item, const std::string& list, const std::string& separator);

// A TRUE/FALSE key of the game in use. "" gives the default; anything else but TRUE or FALSE
// shows a message and counts as false.
bool GetBoolDirective(const std::string& section, const std::string& key, bool defaultValue);

// True for a regular, visible file; "" is false.
bool FileExists(const std::string& path);

// The folder part of a path with its closing "\", and the part after the last "\".
std::string PathDirectory(const std::string& path);
std::string PathFileName(const std::string& path);

// The text without the blanks (spaces) around it; tabs and other characters stay.
std::string StripBlanks(const std::string& text);

// A whole number from 1 to n, each equally likely; n of 0 or below gives 1.
std::int16_t RandomInt(int n);

// The next value in [0, 1) of the program's one generator, and its seed.
double NextRandom();
void SeedRandom(double seed);

struct CalendarDate {
    int year;
    int month; // 1..12
    int day;   // 1..31
};

// The date as CYYDDD: century minus 19, two-digit year, day of the year.
std::int32_t DateCode(const CalendarDate& date);

// The seed the game list gives the generator: today's date code × 10 plus the seconds of the day.
double GetTimeStamp();

// Forgets the interaction state of the table before a game is set up.
void ResetTableState();
