// The program folder and the files beside the program. Paths in the model keep their Windows
// form ("folder\dir\name"); only this unit turns them into real file names, matching every
// component without regard to case and never leaving the program folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The folder everything "beside the program" lives in, as ANSI text without a closing
// separator: the folder named by KARVEL_HOME when it is set, else the executable's folder.
std::string ProgramFolder();

// Tests point the program folder at a temporary folder; "" goes back to the default.
void SetProgramFolder(const std::string& ansiFolder);

// The real (UTF-8) file name of a model path. "\" and "/" both separate components and each
// component is matched without regard to case; components that do not exist yet keep the
// spelling given. A relative path starts at the program folder. Refused (nullopt) when the
// path would leave the program folder: an absolute path elsewhere, a ".." component, or a
// link inside the folder that leads outside it.
std::optional<std::string> ResolvePath(const std::string& path);

// Like ResolvePath, for a file the user chose anywhere with a file chooser.
std::optional<std::string> ResolveUserPath(const std::string& path);

// True when the path names a regular, visible file (not a folder); "*" and "?" in the last
// component match any name. "" is false without touching the file system.
bool IsRegularFile(const std::string& path);

// The whole content of a file; nullopt when it cannot be read or lies outside the program folder.
std::optional<std::string> ReadFileBytes(const std::string& path);

// What one look at a file tells: whether it is a regular file, its size, and its last change in
// nanoseconds since 1970 (UTC).
struct FileStamp {
    bool regular = false;
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;
};

// The stamp of a real (UTF-8) file name, following links; `regular` is false when there is no
// regular file by that name.
FileStamp StampOfFile(const std::string& realPath);

// ReadFileBytes for a real (UTF-8) file name that ResolvePath gave, for a caller that resolved
// the path already. `stamp`, when given, receives the stamp of the very file that was opened,
// taken before its bytes were read: a change during the read leaves a later stamp on disk. A
// regular file that cannot be read gives nullopt with `regular` true.
std::optional<std::string> ReadResolvedFileBytes(const std::string& realPath, FileStamp* stamp = nullptr);

// For tests: the next `count` reads (ReadFileBytes, ReadResolvedFileBytes) fail as for a file
// that exists but cannot be read (a permission, a disk fault), whoever runs the tests.
void FailNextFileReads(int count = 1);

// Writes a file through a temporary file renamed over the old one, so that a failed write
// leaves the old file whole. False when the path is refused or the write fails.
bool WriteFileAtomic(const std::string& path, const std::string& bytes);

// Removes the temporary files that atomic writes of files matching the pattern (such as "*.save")
// left in a folder when the program was ended during the write: such a file is never listed and
// would stay for ever. Only files older than a minute go, so that another copy's write under way
// is left alone. The number removed.
int RemoveStaleAtomicWrites(const std::string& folder, const std::string& pattern);

// The size of a regular file and its last change in local time as "YYYY-MM-DD hh:mm:ss";
// nullopt when it is not a regular file of the program folder.
struct FileFacts {
    std::uintmax_t size = 0;
    std::string modified;
};
std::optional<FileFacts> FileStatus(const std::string& path);

// Deletes a regular file of the program folder; false when it cannot.
bool RemoveFile(const std::string& path);

// Names (ANSI) of the regular files in a folder whose names match a pattern such as "*.game",
// without regard to case, sorted without regard to case.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern);

// The names (ANSI) of the visible regular files directly in a folder given by its real (UTF-8)
// name, in no particular order; none when the folder cannot be read. One pass over the folder,
// for callers that look many names up in it.
std::vector<std::string> RegularFileNames(const std::string& realFolder);

// True when a name matches a pattern with "*" and "?", without regard to case.
bool WildcardMatch(const std::string& pattern, const std::string& name);

} // namespace platform
