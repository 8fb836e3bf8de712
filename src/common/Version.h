// This program's version. It is set in one place, the project version of the build
// (CMakeLists.txt); the splash, the table's caption and saved games read it from here.
#pragma once

inline constexpr int kVersionMajor = KARVEL_VERSION_MAJOR;
inline constexpr int kVersionMinor = KARVEL_VERSION_MINOR;
inline constexpr int kVersionRevision = KARVEL_VERSION_PATCH;
// major.minor.revision
inline constexpr const char* kVersionText = KARVEL_VERSION;
// The comments entry of the version information; the shipped build has none.
inline constexpr const char* kVersionComments = "";
