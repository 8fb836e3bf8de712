// The list controls of a form: list box (with item data and multiple selection), the virtual list
// box whose items its owner keeps, combo box and the file list box that lists the files of a
// folder.
#pragma once

#include "platform/Control.h"

#include <functional>
#include <string>
#include <vector>

class QObject;

namespace platform {

class ListBox : public Control {
  public:
    // A multi-select list selects as a file list does: a click selects that item alone, Ctrl+click
    // adds or removes one, Shift+click a range.
    ListBox(NativeWidget* parent, bool multiSelect = false);
    ~ListBox() override;

    // Adds an item at the end, or before the item at `index`.
    void AddItem(const std::string& text, int index = -1);
    // Adds many items at the end at once: a long list (a full game log) fills in one pass instead
    // of laying itself out again after every item.
    void AddItems(const std::vector<std::string>& texts);
    // Out-of-range indexes are ignored.
    void RemoveItem(int index);
    void Clear();
    int ListCount() const;
    // The item's text; "" out of range.
    std::string List(int index) const;
    void SetList(int index, const std::string& text);
    // The current item, -1 for none. Setting it selects that item and raises Click when it
    // changes; out-of-range values give -1.
    int ListIndex() const;
    void SetListIndex(int index);
    // A number kept with each item.
    long ItemData(int index) const;
    void SetItemData(int index, long data);
    // Whether an item is selected (several can be in a multi-select list).
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    // The index of the first item shown.
    int TopIndex() const;
    void SetTopIndex(int index);
    // The index of the last item added by AddItem.
    int NewIndex() const { return newIndex_; }
    // An item wider than the list goes on over further lines, at the list's width as it is now
    // or later, instead of being cut (false: every item is one line, as laid out fastest).
    void SetWordWrap(bool wrap);
    void CopyDesign(const Control& base) override;

  private:
    int newIndex_ = -1;
    // The hook on the list's viewport, silenced when the list goes.
    QObject* viewportHook_ = nullptr;
};

// A list box whose items its owner keeps: it holds only their number and asks for an item's text
// when it shows or reports that item, so that a list of tens of thousands of lines opens as fast
// as a short one. The owner tells it where items came and went. Single selection.
class VirtualListBox : public Control {
  public:
    explicit VirtualListBox(NativeWidget* parent);
    ~VirtualListBox() override;

    // The text of item `index` (0 to ListCount() - 1), asked for whenever the list needs it.
    void SetItemSource(std::function<std::string(int index)> text);
    // The list now holds `count` items, none of them read yet, and no item is chosen.
    void ResetItems(int count);
    // `count` items came in before item `index` (ListCount() adds them at the end), or left from
    // item `index` on. What lies outside the list is ignored; nothing raises Click.
    void ItemsInserted(int index, int count);
    void ItemsRemoved(int index, int count);

    int ListCount() const;
    // The item's text; "" out of range.
    std::string List(int index) const;
    // The current item, -1 for none. Setting it selects that item, shows it and raises Click
    // when it changes; out-of-range values give -1.
    int ListIndex() const;
    void SetListIndex(int index);
    // The index of the first item shown.
    int TopIndex() const;
    void SetTopIndex(int index);

  private:
    class Source;
    Source* source_;
    // Items coming or going move the current item without the user choosing one.
    bool changing_ = false;
};

// Style 0 lets the user type (a drop-down combo), style 2 only choose (a drop-down list).
class ComboBox : public Control {
  public:
    ComboBox(NativeWidget* parent, int style = 0);
    ~ComboBox() override;

    void AddItem(const std::string& text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const;
    std::string List(int index) const;
    int ListIndex() const;
    // Selects the item and raises Click when it changes; -1 clears the choice.
    void SetListIndex(int index);
    long ItemData(int index) const;
    void SetItemData(int index, long data);
    std::string Text() const;
    void SetText(const std::string& text);
    void CopyDesign(const Control& base) override;

    // The text changed while the user typed or code set it (not when an item was chosen).
    std::function<void()> OnChange;
};

// The regular files of a folder of the program whose names match a pattern, sorted.
class FileListBox : public ListBox {
  public:
    explicit FileListBox(NativeWidget* parent);
    // The folder, as a path of the model ("" is the program folder).
    const std::string& Path() const { return path_; }
    void SetPath(const std::string& path);
    // Patterns separated by ";", such as "*.game" (default "*.*").
    const std::string& Pattern() const { return pattern_; }
    void SetPattern(const std::string& pattern);
    // The name of the chosen file, "" when none is chosen.
    std::string FileName() const;
    // Reads the folder again.
    void Refresh();

  private:
    std::string path_;
    std::string pattern_ = "*.*";
};

} // namespace platform
