#include "platform/Menu.h"

#include "platform/QtRuntime.h"
#include "platform/QtText.h"
#include "platform/Seams.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>

namespace platform {
namespace {

PopupHandler g_popup;

// A caption as the user reads it: "&" marks the access key, "&&" is a literal "&".
std::string ShownCaption(const std::string& caption) {
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}

} // namespace

struct Menu::Impl {
    // The root's bar, or the item's action with its submenu once it has items.
    QPointer<QMenuBar> bar;
    QPointer<QAction> action;
    QPointer<QMenu> submenu;
    std::string caption;

    QWidget* Container() const {
        if (bar) return bar;
        return submenu;
    }
};

Menu::Menu() : impl_(std::make_unique<Impl>()) {
    impl_->action = new QAction();
}

Menu::Menu(Menu& parent, const std::string& caption, const Menu* after)
    : impl_(std::make_unique<Impl>()), parent_(&parent) {
    impl_->action = new QAction();
    Menu* self = this;
    QObject::connect(impl_->action, &QAction::triggered, [self] { self->Choose(); });
    SetCaption(caption);
    parent.Attach(this, after);
}

Menu::~Menu() {
    for (Menu* item : items_)
        item->parent_ = nullptr;
    if (parent_) parent_->Detach(this);
    // A menu item may be unloaded by its own OnClick, while its menu is still being handled.
    if (impl_->action) impl_->action->setVisible(false);
    DisposeWhenIdle(impl_->action.data());
    DisposeWhenIdle(impl_->submenu.data());
}

void Menu::Attach(Menu* item, const Menu* after) {
    auto at = items_.end();
    if (after) {
        auto found = std::find(items_.begin(), items_.end(), after);
        if (found != items_.end()) at = found + 1;
    }
    QAction* before = at == items_.end() ? nullptr : (*at)->impl_->action.data();
    items_.insert(at, item);
    if (!impl_->bar && !impl_->submenu) {
        impl_->submenu = new QMenu();
        impl_->action->setMenu(impl_->submenu.data());
    }
    impl_->Container()->insertAction(before, item->impl_->action);
    if (impl_->bar)
        impl_->bar->setVisible(
            std::any_of(items_.begin(), items_.end(), [](Menu* m) { return m->Visible(); }));
}

void Menu::Detach(Menu* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    if (QWidget* container = impl_->Container()) container->removeAction(item->impl_->action);
    if (impl_->bar)
        impl_->bar->setVisible(
            std::any_of(items_.begin(), items_.end(), [](Menu* m) { return m->Visible(); }));
}

std::string Menu::Caption() const {
    return impl_->caption;
}
void Menu::SetCaption(const std::string& caption) {
    impl_->caption = caption;
    if (!impl_->action) return;
    impl_->action->setText(ToQString(caption));
    impl_->action->setSeparator(caption == "-");
}
bool Menu::Visible() const {
    return impl_->action && impl_->action->isVisible();
}
void Menu::SetVisible(bool visible) {
    if (!impl_->action) return;
    impl_->action->setVisible(visible);
    // A bar whose menus are all hidden takes no room, as pop-up menus live under hidden menus.
    if (parent_ && parent_->impl_->bar)
        parent_->impl_->bar->setVisible(std::any_of(parent_->items_.begin(), parent_->items_.end(),
                                                    [](Menu* m) { return m->Visible(); }));
}
bool Menu::Enabled() const {
    return impl_->action && impl_->action->isEnabled();
}
void Menu::SetEnabled(bool enabled) {
    if (impl_->action) impl_->action->setEnabled(enabled);
}
bool Menu::Checked() const {
    return impl_->action && impl_->action->isChecked();
}
void Menu::SetChecked(bool checked) {
    if (!impl_->action) return;
    impl_->action->setCheckable(true);
    impl_->action->setChecked(checked);
}

void Menu::CopyDesign(const Menu& base) {
    SetCaption(base.Caption());
    SetEnabled(base.Enabled());
    if (base.Checked()) SetChecked(true);
    tag_ = base.tag_;
}

Menu* Menu::FindChoosable(const std::string& caption) const {
    const std::string wanted = ShownCaption(caption);
    for (Menu* item : items_) {
        if (!item->Visible() || !item->Enabled()) continue;
        if (item->items_.empty() && ShownCaption(item->Caption()) == wanted) return item;
        if (Menu* inner = item->FindChoosable(caption)) return inner;
    }
    return nullptr;
}

void Menu::Choose() {
    if (auto handler = OnClick) handler();
}

void AttachMenuBar(Menu& root, QMenuBar* bar) {
    root.Internals().bar = bar;
    bar->setVisible(false);
}

PopupHandler SetPopupHandler(PopupHandler handler) {
    std::swap(g_popup, handler);
    return handler;
}

bool ShowPopupMenu(Menu& menu) {
    if (g_popup) {
        const std::string caption = g_popup(menu);
        Menu* chosen = caption.empty() ? nullptr : menu.FindChoosable(caption);
        if (chosen) chosen->Choose();
        return chosen != nullptr;
    }
    QMenu* popup = menu.Internals().submenu;
    if (!popup) return false;
    return popup->exec(QCursor::pos()) != nullptr;
}

} // namespace platform
