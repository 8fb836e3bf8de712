// A control array: elements of one kind under one name, told apart by their index. Elements
// placed when the window is made stay for its life; Load(i) adds an element like the first one
// (made by the array's factory), Unload(i) frees an element added that way.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform {

template <class T> class ControlArray {
  public:
    // Makes a new element like `first` (the lowest element), placed after `last` (the highest).
    using Factory = std::function<std::unique_ptr<T>(const T& first, const T& last)>;

    explicit ControlArray(Factory factory) : factory_(std::move(factory)) {}

    // Takes in an element that was placed with the window; false when the index is taken or
    // negative.
    bool Place(int index, std::unique_ptr<T> element) {
        if (index < 0 || !element || elements_.count(index)) return false;
        Name(*element, index);
        elements_[index] = Entry{std::move(element), true};
        ++generation_;
        return true;
    }

    // A new element at the index, like the first element; nullptr when the index is taken or
    // negative, or when the array has no element to copy.
    T* Load(int index) {
        if (index < 0 || elements_.count(index) || elements_.empty()) return nullptr;
        std::unique_ptr<T> element =
            factory_(*elements_.begin()->second.element, *elements_.rbegin()->second.element);
        if (!element) return nullptr;
        Name(*element, index);
        T* raw = element.get();
        elements_[index] = Entry{std::move(element), false};
        ++generation_;
        if (OnLoaded) OnLoaded(index, *raw);
        return raw;
    }

    // Frees an element made by Load; false for an element placed with the window or a missing
    // index.
    bool Unload(int index) {
        auto it = elements_.find(index);
        if (it == elements_.end() || it->second.placed) return false;
        // Taken out first: the element's destructor may raise events that look at the array.
        std::unique_ptr<T> element = std::move(it->second.element);
        elements_.erase(it);
        ++generation_;
        return true;
    }

    // The element at the index, or nullptr.
    T* operator()(int index) const {
        auto it = elements_.find(index);
        return it == elements_.end() ? nullptr : it->second.element.get();
    }
    bool Exists(int index) const { return elements_.count(index) != 0; }
    int Count() const { return static_cast<int>(elements_.size()); }
    // The lowest and highest index; -1 when the array is empty.
    int LBound() const { return elements_.empty() ? -1 : elements_.begin()->first; }
    int UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }
    // Changes whenever an element is placed, loaded or unloaded: an element looked up earlier is
    // still the one at its index while this stays the same.
    std::uint64_t Generation() const { return generation_; }
    std::vector<int> Indexes() const {
        std::vector<int> indexes;
        for (const auto& [index, entry] : elements_)
            indexes.push_back(index);
        return indexes;
    }

    // Names every element, present and to come, "name(index)" (see Control::SetName).
    void SetName(const std::string& name) {
        name_ = name;
        for (auto& [index, entry] : elements_)
            Name(*entry.element, index);
    }

    // Runs for each element that Load made, to wire its events with its index.
    std::function<void(int index, T& element)> OnLoaded;

  private:
    struct Entry {
        std::unique_ptr<T> element;
        bool placed = false;
    };

    void Name(T& element, int index) const {
        if constexpr (requires { element.SetIndex(index); }) element.SetIndex(index);
        if (name_.empty()) return;
        const std::string name = name_ + "(" + std::to_string(index) + ")";
        if constexpr (requires { element.SetName(name); })
            element.SetName(name);
        else if constexpr (requires { element.Surface().SetName(name); })
            element.Surface().SetName(name);
    }

    Factory factory_;
    std::string name_;
    std::map<int, Entry> elements_;
    std::uint64_t generation_ = 0;
};

// The factory of an array of stock controls or menu items: a new element in the same parent that
// takes over the first element's design. A new control starts hidden; a new menu item shows at
// once, right after the array's last item.
template <class T> typename ControlArray<T>::Factory LikeFirst() {
    return [](const T& first, const T& last) -> std::unique_ptr<T> {
        std::unique_ptr<T> element;
        if constexpr (requires { first.ParentHandle(); }) {
            (void)last;
            element = std::make_unique<T>(first.ParentHandle());
            element->CopyDesign(first);
            element->SetVisible(false);
        } else {
            if (!first.Parent()) return nullptr;
            element = std::make_unique<T>(*first.Parent(), "", &last);
            element->CopyDesign(first);
        }
        return element;
    };
}

} // namespace platform
