#include "platform/Files.h"

#include "platform/Codec.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace fs = std::filesystem;

namespace platform {
namespace {

std::string g_programFolderOverride; // UTF-8
int g_failingReads = 0;

std::string DefaultProgramFolder() {
    if (const char* home = std::getenv("KARVEL_HOME"); home && *home) return home;
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath().toStdString();
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return exe.parent_path().string();
    return fs::current_path(ec).string();
}

std::string ProgramFolderUtf8() {
    std::string folder = g_programFolderOverride.empty() ? DefaultProgramFolder() : g_programFolderOverride;
    // Every path resolution starts here, thousands of times while a definition loads: a folder
    // that exists is made canonical once (a walk over its every component), not on each call.
    static std::string given, canonical;
    if (!given.empty() && folder == given) return canonical;
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::path(folder), ec);
    std::string s = ec ? folder : p.string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    if (!ec && fs::is_directory(s, ec)) {
        given = folder;
        canonical = s;
    }
    return s;
}

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

// The entry of a folder whose name equals `name` without regard to case, when the exact spelling
// is not there; "" when there is none.
std::string FindEntryNoCase(const fs::path& folder, const std::string& nameUtf8) {
    std::error_code ec;
    const std::string wanted = AnsiFromUtf8(nameUtf8);
    std::string found;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (AnsiEqualNoCase(AnsiFromUtf8(entry), wanted)) {
            if (found.empty() || entry < found) found = entry; // deterministic among look-alikes
        }
    }
    return found;
}

// The entry of a folder whose name equals `name` without regard to case, the exact spelling
// first; "" when there is none.
std::string FindEntry(const fs::path& folder, const std::string& nameUtf8) {
    std::error_code ec;
    if (fs::exists(folder / nameUtf8, ec)) return nameUtf8;
    return FindEntryNoCase(folder, nameUtf8);
}

bool IsAbsoluteModelPath(const std::string& path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

bool Within(const fs::path& path, const std::string& root) {
    const std::string p = path.lexically_normal().string();
    if (root == "/") return !p.empty() && p[0] == '/';
    return p == root ||
           (p.size() > root.size() && p.compare(0, root.size(), root) == 0 && p[root.size()] == '/');
}

// A link inside the folder (one a downloaded game brought along, say) may point anywhere; the
// name is refused when where it leads lies outside. A link that leads nowhere yet counts by
// where it points, as a write through it would create the file there.
bool LinkStaysInside(const fs::path& link, const std::string& root) {
    std::error_code ec;
    fs::path target = fs::read_symlink(link, ec);
    if (ec) return false;
    if (target.is_relative()) target = link.parent_path() / target;
    fs::path real = fs::weakly_canonical(target, ec);
    return !ec && Within(real, root);
}

// Walks the components below `base`, matching each without regard to case.
std::optional<std::string> WalkBelow(fs::path base, const std::vector<std::string>& parts) {
    const std::string root = base.string();
    for (const std::string& part : parts) {
        if (part == ".") continue;
        if (part == "..") return std::nullopt;
        std::string utf8 = Utf8FromAnsi(part);
        // One look at the exact spelling tells both whether it is there and whether it is a link;
        // only a name not there as spelled costs a pass over the folder.
        std::error_code ec;
        fs::file_status status = fs::symlink_status(base / utf8, ec);
        if (fs::exists(status)) {
            base /= utf8;
        } else if (std::string entry = FindEntryNoCase(base, utf8); !entry.empty()) {
            base /= entry;
            status = fs::symlink_status(base, ec);
        } else {
            base /= utf8;
            continue;
        }
        if (fs::is_symlink(status) && !LinkStaysInside(base, root)) return std::nullopt;
    }
    return base.string();
}

} // namespace

std::string ProgramFolder() {
    return AnsiFromUtf8(ProgramFolderUtf8());
}

void SetProgramFolder(const std::string& ansiFolder) {
    g_programFolderOverride = Utf8FromAnsi(ansiFolder);
}

// The file system reads a name only up to a NUL byte, so "..\0x" would pass the ".." check and
// still name the parent folder: no path holding one is a name of ours.
bool HasNul(const std::string& path) {
    return path.find('\0') != std::string::npos;
}

std::optional<std::string> ResolvePath(const std::string& path) {
    if (path.empty() || HasNul(path)) return std::nullopt;
    std::vector<std::string> parts = SplitComponents(path);
    std::erase(parts, std::string("."));
    if (IsAbsoluteModelPath(path)) {
        const std::vector<std::string> root = SplitComponents(ProgramFolder());
        // Only a path inside the program folder is accepted; the folder's own components are
        // compared without regard to case, as a stored path may have been written that way.
        if (parts.size() < root.size()) return std::nullopt;
        for (std::size_t i = 0; i < root.size(); ++i)
            if (!AnsiEqualNoCase(parts[i], root[i])) return std::nullopt;
        parts.erase(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(root.size()));
    }
    return WalkBelow(fs::path(ProgramFolderUtf8()), parts);
}

std::optional<std::string> ResolveUserPath(const std::string& path) {
    if (path.empty() || HasNul(path)) return std::nullopt;
    if (!IsAbsoluteModelPath(path)) return ResolvePath(path);
    std::vector<std::string> parts = SplitComponents(path);
    if (path.size() >= 2 && path[1] == ':') parts.erase(parts.begin()); // a drive letter means nothing here
    fs::path base("/");
    for (const std::string& part : parts) {
        if (part == ".") continue;
        if (part == "..") {
            base = base.parent_path();
            continue;
        }
        std::string utf8 = Utf8FromAnsi(part);
        std::string entry = FindEntry(base, utf8);
        base /= entry.empty() ? utf8 : entry;
    }
    return base.string();
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
    const std::string p = AnsiUpper(pattern), n = AnsiUpper(name);
    std::size_t pi = 0, ni = 0, star = std::string::npos, mark = 0;
    while (ni < n.size()) {
        // The star is looked at first: a "*" in the name is an ordinary character to it.
        if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = ni;
        } else if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (star != std::string::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*')
        ++pi;
    return pi == p.size();
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    auto resolved = ResolvePath(folder.empty() ? ProgramFolder() : folder);
    if (!resolved) return names;
    std::error_code ec;
    for (fs::directory_iterator it(*resolved, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = AnsiFromUtf8(it->path().filename().string());
        if (name.empty() || name[0] == '.') continue; // hidden files are not listed
        std::error_code fec;
        if (!it->is_regular_file(fec)) continue;
        if (WildcardMatch(pattern, name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return AnsiUpper(a) < AnsiUpper(b); });
    return names;
}

std::vector<std::string> RegularFileNames(const std::string& realFolder) {
    std::vector<std::string> names;
#ifdef _WIN32
    std::error_code ec;
    for (fs::directory_iterator it(realFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = AnsiFromUtf8(it->path().filename().string());
        std::error_code kind;
        if (!name.empty() && name[0] != '.' && it->is_regular_file(kind)) names.push_back(std::move(name));
    }
#else
    // The directory iterator builds and splits a whole path for every entry; a folder of a few
    // hundred card images is listed several times faster by reading the entries themselves.
    DIR* dir = opendir(realFolder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue; // hidden files, "." and ".."
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            // What a link leads to, or what a file system that does not tell is, as a stat sees it.
            struct stat info;
            regular = fstatat(dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (regular) names.push_back(AnsiFromUtf8(entry->d_name));
    }
    closedir(dir);
#endif
    return names;
}

bool IsRegularFile(const std::string& path) {
    if (path.empty()) return false;
    std::string last;
    std::string dir = path;
    auto cut = path.find_last_of("\\/");
    last = cut == std::string::npos ? path : path.substr(cut + 1);
    dir = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    if (last.find_first_of("*?") != std::string::npos) return !ListFiles(dir, last).empty();
    if (!last.empty() && last[0] == '.') return false; // hidden
    auto resolved = ResolvePath(path);
    if (!resolved) return false;
    std::error_code ec;
    return fs::is_regular_file(*resolved, ec);
}

void FailNextFileReads(int count) {
    g_failingReads = std::max(count, 0);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    auto resolved = ResolvePath(path);
    if (!resolved) return std::nullopt;
    return ReadResolvedFileBytes(*resolved);
}

#ifndef _WIN32
namespace {

FileStamp StampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.regular = S_ISREG(info.st_mode);
    stamp.size = static_cast<std::uintmax_t>(info.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return stamp;
}

// Reads an open file to its end, starting with room for the size it had when opened (and one
// byte more, to see the end at once); a file that grows meanwhile is read whole all the same.
bool ReadToEnd(int fd, std::uintmax_t size, std::string& bytes) {
    bytes.resize(static_cast<std::size_t>(size) + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t got = read(fd, bytes.data() + have, bytes.size() - have);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    bytes.resize(have);
    return true;
}

} // namespace
#endif

FileStamp StampOfFile(const std::string& realPath) {
#ifdef _WIN32
    std::error_code ec;
    FileStamp stamp;
    if (!fs::is_regular_file(fs::status(realPath, ec)) || ec) return stamp;
    using namespace std::chrono;
    const auto modified = clock_cast<system_clock>(fs::last_write_time(realPath, ec));
    stamp.modifiedNs = duration_cast<nanoseconds>(modified.time_since_epoch()).count();
    stamp.size = fs::file_size(realPath, ec);
    stamp.regular = !ec;
    return stamp;
#else
    struct stat info;
    if (stat(realPath.c_str(), &info) != 0) return {};
    return StampOf(info);
#endif
}

std::optional<std::string> ReadResolvedFileBytes(const std::string& realPath, FileStamp* stamp) {
    FileStamp ignored;
    FileStamp& seen = stamp ? *stamp : ignored;
#ifdef _WIN32
    seen = StampOfFile(realPath);
    if (!seen.regular) return std::nullopt;
    if (g_failingReads > 0) {
        --g_failingReads;
        return std::nullopt;
    }
    std::ifstream in(realPath, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
#else
    // Opened without waiting, so that a pipe by that name cannot hold the program; what was
    // opened is then looked at, not what the name meant a moment before.
    const int fd = open(realPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        seen = StampOfFile(realPath); // a regular file that may not be opened still counts as one
        return std::nullopt;
    }
    struct stat info;
    seen = fstat(fd, &info) == 0 ? StampOf(info) : FileStamp{};
    std::string bytes;
    bool read = false;
    if (seen.regular && g_failingReads > 0)
        --g_failingReads;
    else if (seen.regular)
        read = ReadToEnd(fd, seen.size, bytes);
    close(fd);
    if (!read) return std::nullopt;
    return bytes;
#endif
}

std::optional<FileFacts> FileStatus(const std::string& path) {
    const auto resolved = ResolvePath(path);
    if (!resolved) return std::nullopt;
    const QFileInfo info(QString::fromStdString(*resolved));
    if (!info.isFile()) return std::nullopt;
    FileFacts facts;
    facts.size = static_cast<std::uintmax_t>(info.size());
    facts.modified = info.lastModified().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString();
    return facts;
}

bool RemoveFile(const std::string& path) {
    const auto resolved = ResolvePath(path);
    if (!resolved) return false;
    std::error_code ec;
    if (!fs::is_regular_file(*resolved, ec)) return false;
    return fs::remove(*resolved, ec) && !ec;
}

int RemoveStaleAtomicWrites(const std::string& folder, const std::string& pattern) {
    // The atomic write's temporary file is the file's own name, "." and six letters or digits.
    const auto isTemporary = [&](const std::string& name) {
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos || name.size() - dot != 7) return false;
        if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(dot) + 1, name.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
            return false;
        return WildcardMatch(pattern, name.substr(0, dot));
    };
    const auto resolved = ResolvePath(folder);
    if (!resolved) return 0;
    // A write takes a moment: a file younger than this may be another copy's write under way.
    const auto stale = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(*resolved, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fec;
        if (!it->is_regular_file(fec) || !isTemporary(AnsiFromUtf8(it->path().filename().string()))) continue;
        const auto time = fs::last_write_time(it->path(), fec);
        if (!fec && time < stale && fs::remove(it->path(), fec) && !fec) ++removed;
    }
    return removed;
}

bool WriteFileAtomic(const std::string& path, const std::string& bytes) {
    auto resolved = ResolvePath(path);
    if (!resolved) return false;
    // The folders beside the program (save\ among them) may not exist yet on a new install.
    std::error_code ec;
    fs::create_directories(fs::path(*resolved).parent_path(), ec);
    QSaveFile file(QString::fromStdString(*resolved));
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace platform
