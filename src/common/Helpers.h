// Small functions shared by the table engine and the definition editor: one INI key, the field
// functions that cut separated lists apart, and paths. They need the platform alone.
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

// True for a regular, visible file; "" is false.
bool FileExists(const std::string& path);

// The folder part of a path with its closing "\", and the part after the last "\".
std::string PathDirectory(const std::string& path);
std::string PathFileName(const std::string& path);

// A path that stays below the folder it is read from: not absolute, no drive, no ".." component
// ("\" and "/" both separate). "" stays. Paths that files and peers name are checked with it.
bool IsPlainRelativePath(const std::string& path);

// A model path ("folder\dir\name") as the user reads it in a message: with the separator of the
// program folder throughout, so that a path under a Unix-style folder does not mix "/" and "\".
std::string ShownPath(const std::string& path);

// The text without the blanks (spaces) around it; tabs and other characters stay.
std::string StripBlanks(const std::string& text);
