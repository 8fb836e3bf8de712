// A menu item of a form's menu bar or of a pop-up menu: caption, visibility, enabled and checked
// state, `Tag` and `Index`. An item with items of its own opens a submenu. Items belong to the
// code that made them; destroying one removes it from its menu.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class Menu {
  public:
    // A menu of its own, not on a bar: a pop-up menu made at run time.
    Menu();
    // A new item at the end of parent's items, or right after `after` (an item of the same
    // parent), as a control array's new element is placed.
    explicit Menu(Menu& parent, const std::string& caption = "", const Menu* after = nullptr);
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    Menu* Parent() const { return parent_; }
    // The items in their order on the menu.
    const std::vector<Menu*>& Items() const { return items_; }

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Checked() const;
    void SetChecked(bool checked);
    const std::string& Tag() const { return tag_; }
    void SetTag(const std::string& tag) { tag_ = tag; }
    int Index() const { return index_; }
    void SetIndex(int index) { index_ = index; }

    // Takes over caption, enabled and checked state and Tag of an array's first element.
    void CopyDesign(const Menu& base);

    // The visible, enabled item (searched in depth, through visible, enabled submenus) whose
    // caption, without its "&" marks, is `caption`; nullptr when there is none.
    Menu* FindChoosable(const std::string& caption) const;
    // Runs OnClick as a choice of the item would.
    void Choose();

    std::function<void()> OnClick;

    struct Impl;
    Impl& Internals() const { return *impl_; }

  private:
    void Attach(Menu* item, const Menu* after);
    void Detach(Menu* item);

    std::unique_ptr<Impl> impl_;
    Menu* parent_ = nullptr;
    std::vector<Menu*> items_;
    std::string tag_;
    int index_ = -1;
};

} // namespace platform
