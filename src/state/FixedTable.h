// The game's fixed tables keep the numbering the game uses (cards from 1, decks from 0) and their
// limits, which saved games and peers rely on. Every access is checked: an index out of range is
// a programming error that must surface in tests, never a write into a neighbouring record.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

template <typename T, int First, int Last> class FixedTable {
    static_assert(Last >= First);

  public:
    static constexpr int kFirst = First;
    static constexpr int kLast = Last;
    static constexpr int kSize = Last - First + 1;

    static constexpr bool Contains(int i) { return i >= First && i <= Last; }

    T& operator[](int i) { return items_[Slot(i)]; }
    const T& operator[](int i) const { return items_[Slot(i)]; }

    void Fill(const T& value) { items_.fill(value); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    static std::size_t Slot(int i) {
        if (!Contains(i))
            throw std::out_of_range("table index " + std::to_string(i) + " outside " + std::to_string(First) +
                                    ".." + std::to_string(Last));
        return static_cast<std::size_t>(i - First);
    }

    std::array<T, kSize> items_{};
};
