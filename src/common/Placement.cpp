#include "common/Placement.h"

#include <algorithm>
#include <cstdint>

using platform::TwipRect;

namespace {

// The positions of one axis at which a box of `size` may start inside [low, high): a grid from
// `low`, the last position, where the box would stand, and the places that touch an obstacle.
std::vector<int> Starts(int low, int high, int size, int wanted, int step, const std::vector<int>& edges) {
    const int last = high - size;
    std::vector<int> starts;
    for (int at = low; at < last; at += step)
        starts.push_back(at);
    starts.push_back(last);
    starts.push_back(std::clamp(wanted, low, last));
    for (int edge : edges)
        if (edge >= low && edge <= last) starts.push_back(edge);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    return starts;
}

int ClampedAxis(int start, int size, int move, int low, int high) {
    // Where the item lies inside: from the surface's start to where its end meets the surface's
    // end (for an item larger than the surface, the places where it covers the whole surface).
    const int first = std::min(low, high - size);
    const int last = std::max(low, high - size);
    return std::clamp(start + move, std::min(first, start), std::max(last, start)) - start;
}

} // namespace

std::optional<TwipRect> FreePlace(const TwipRect& box, const TwipRect& bounds,
                                  const std::vector<TwipRect>& obstacles, int step) {
    if (box.width > bounds.width || box.height > bounds.height || box.width <= 0 || box.height <= 0)
        return std::nullopt;
    step = std::max(step, 1);
    std::vector<int> xEdges, yEdges;
    for (const TwipRect& o : obstacles) {
        xEdges.insert(xEdges.end(), {o.Right(), o.left - box.width});
        yEdges.insert(yEdges.end(), {o.Bottom(), o.top - box.height});
    }
    const std::vector<int> xs = Starts(bounds.left, bounds.Right(), box.width, box.left, step, xEdges);
    const std::vector<int> ys = Starts(bounds.top, bounds.Bottom(), box.height, box.top, step, yEdges);
    std::optional<TwipRect> best;
    std::int64_t bestDistance = 0;
    for (int y : ys) {
        for (int x : xs) {
            const std::int64_t dx = x - box.left, dy = y - box.top;
            const std::int64_t distance = dx * dx + dy * dy;
            if (best && distance >= bestDistance) continue;
            const TwipRect place{x, y, box.width, box.height};
            if (std::any_of(obstacles.begin(), obstacles.end(),
                            [&place](const TwipRect& o) { return place.Overlaps(o); }))
                continue;
            best = place;
            bestDistance = distance;
        }
    }
    return best;
}

TwipRect Enclosing(const TwipRect& a, const TwipRect& b) {
    if (a.width <= 0 || a.height <= 0) return b;
    if (b.width <= 0 || b.height <= 0) return a;
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    return {left, top, std::max(a.Right(), b.Right()) - left, std::max(a.Bottom(), b.Bottom()) - top};
}

Shift ClampedShift(const TwipRect& item, int dx, int dy, const TwipRect& surface) {
    return {ClampedAxis(item.left, item.width, dx, surface.left, surface.Right()),
            ClampedAxis(item.top, item.height, dy, surface.top, surface.Bottom())};
}
