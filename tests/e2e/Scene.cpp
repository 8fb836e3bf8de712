#include "Scene.h"

#include <chrono>
#include <cstring>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace e2e {
namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

int Int(const std::string& text) {
    return std::atoi(text.c_str());
}

Rect RectAt(const std::vector<std::string>& f, std::size_t i) {
    return Rect{Int(f[i]), Int(f[i + 1]), Int(f[i + 2]), Int(f[i + 3])};
}

} // namespace

std::optional<Scene> ParseScene(const std::string& text) {
    Scene scene;
    std::istringstream in(text);
    std::string line;
    bool ended = false;
    while (std::getline(in, line)) {
        const std::vector<std::string> f = Split(line);
        if (f[0] == "end") {
            ended = true;
            break;
        }
        if (f[0] == "window" && f.size() >= 13) {
            scene.windows.push_back(WindowInfo{Int(f[1]), f[2], f[3], RectAt(f, 4), RectAt(f, 8), f[12]});
        } else if (f[0] == "widget" && f.size() >= 14) {
            scene.widgets.push_back(WidgetInfo{Int(f[1]), f[2], f[3], f[4], f[5], RectAt(f, 6),
                                               Point{Int(f[10]), Int(f[11])}, std::atoll(f[12].c_str()),
                                               f[13]});
        } else if (f[0] == "row" && f.size() >= 11) {
            scene.rows.push_back(RowInfo{Int(f[1]), Int(f[2]), f[3] == "selected", RectAt(f, 4),
                                         Point{Int(f[8]), Int(f[9])}, f[10]});
        } else if (f[0] == "item" && f.size() >= 11) {
            scene.items.push_back(
                ItemInfo{Int(f[1]), Int(f[2]), f[3], RectAt(f, 4), Point{Int(f[8]), Int(f[9])}, f[10]});
        }
    }
    if (!ended) return std::nullopt;
    return scene;
}

const WindowInfo* Scene::Window(const std::string& title) const {
    for (const WindowInfo& w : windows)
        if (w.title == title) return &w;
    return nullptr;
}

const WindowInfo* Scene::WindowStarting(const std::string& prefix) const {
    for (const WindowInfo& w : windows)
        if (w.title.rfind(prefix, 0) == 0 && w.kind != "menu" && w.kind != "tip") return &w;
    return nullptr;
}

const WindowInfo* Scene::OfKind(const std::string& kind) const {
    for (const WindowInfo& w : windows)
        if (w.kind == kind) return &w;
    return nullptr;
}

std::vector<const WindowInfo*> Scene::Menus() const {
    std::vector<const WindowInfo*> menus;
    for (const WindowInfo& w : windows)
        if (w.kind == "menu") menus.push_back(&w);
    return menus;
}

const WindowInfo* Scene::SubmenuOf(const std::string& item) const {
    for (const WindowInfo& w : windows)
        if (w.kind == "menu" && !item.empty() && w.title == item) return &w;
    return nullptr;
}

const WindowInfo* Scene::Dialog() const {
    for (const WindowInfo& w : windows)
        if (w.kind == "dialog") return &w;
    return nullptr;
}

const WidgetInfo* Scene::Named(const std::string& name) const {
    for (const WidgetInfo& w : widgets)
        if (w.name == name) return &w;
    return nullptr;
}

std::vector<const WidgetInfo*> Scene::NamedLike(const std::string& prefix) const {
    std::vector<const WidgetInfo*> found;
    for (const WidgetInfo& w : widgets)
        if (w.name.rfind(prefix, 0) == 0) found.push_back(&w);
    return found;
}

const WidgetInfo* Scene::WithText(int window, const std::string& text, const std::string& cls) const {
    auto plain = [](std::string s) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '&' && i + 1 < s.size()) ++i;
            out += s[i];
        }
        return out;
    };
    for (const WidgetInfo& w : widgets)
        if ((window == 0 || w.window == window) && (cls.empty() || w.cls == cls) && plain(w.text) == text)
            return &w;
    return nullptr;
}

std::vector<const WidgetInfo*> Scene::In(int window, const std::string& cls) const {
    std::vector<const WidgetInfo*> found;
    for (const WidgetInfo& w : widgets)
        if (w.window == window && (cls.empty() || w.cls == cls)) found.push_back(&w);
    return found;
}

std::vector<const RowInfo*> Scene::RowsIn(int window) const {
    std::vector<const RowInfo*> found;
    for (const RowInfo& r : rows)
        if (r.window == window) found.push_back(&r);
    return found;
}

std::vector<const ItemInfo*> Scene::ItemsOf(int window) const {
    std::vector<const ItemInfo*> found;
    for (const ItemInfo& i : items)
        if (i.window == window) found.push_back(&i);
    return found;
}

std::string Scene::Summary() const {
    std::string out;
    for (const WindowInfo& w : windows)
        out += "  [" + w.kind + " " + w.state + "] \"" + w.title + "\" at " + std::to_string(w.inner.x) +
               "," + std::to_string(w.inner.y) + " " + std::to_string(w.inner.w) + "x" +
               std::to_string(w.inner.h) + "\n";
    return out.empty() ? "  (no window)\n" : out;
}

std::optional<std::string> AskProbe(const std::string& socketPath, const std::string& request,
                                    int timeoutMs) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return std::nullopt;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return std::nullopt;
    }
    const std::string line = request + "\n";
    if (write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        close(fd);
        return std::nullopt;
    }
    std::string answer;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[65536];
    while (true) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                .count();
        if (left <= 0) break;
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, static_cast<int>(left)) <= 0) break;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            close(fd);
            if (answer.empty()) return std::nullopt;
            return answer;
        }
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return std::nullopt;
}

} // namespace e2e
