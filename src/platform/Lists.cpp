#include "platform/Lists.h"

#include "platform/Files.h"
#include "platform/QtRuntime.h"
#include "platform/QtText.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>

namespace platform {
namespace {

QListWidget* ListOf(const Control& c) {
    return static_cast<QListWidget*>(WidgetOf(c));
}
QComboBox* ComboOf(const Control& c) {
    return static_cast<QComboBox*>(WidgetOf(c));
}

bool InRange(int index, int count) {
    return index >= 0 && index < count;
}

int RowCount(const QListView* view) {
    return view->model()->rowCount();
}

// Makes a row the current one (and selects it), or none for an index outside the list.
void SetCurrentRow(QListView* view, int index) {
    if (!InRange(index, RowCount(view))) {
        view->clearSelection();
        view->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    view->selectionModel()->setCurrentIndex(view->model()->index(index, 0),
                                            view->selectionMode() == QAbstractItemView::SingleSelection
                                                ? QItemSelectionModel::ClearAndSelect
                                                : QItemSelectionModel::Select);
}

int TopRow(const QListView* view) {
    const QModelIndex top = view->indexAt(QPoint(0, 0));
    return top.isValid() ? top.row() : 0;
}

void ScrollRowToTop(QListView* view, int index) {
    if (InRange(index, RowCount(view)))
        view->scrollTo(view->model()->index(index, 0), QAbstractItemView::PositionAtTop);
}

} // namespace

// ListBox

ListBox::ListBox(NativeWidget* parent, bool multiSelect)
    : Control(ToNativeWidget(new QListWidget(ToQWidget(parent))), false) {
    SetBackColor(kSystemColourFlag | 5);
    SetForeColor(kSystemColourFlag | 8);
    QListWidget* list = ListOf(*this);
    list->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                       : QAbstractItemView::SingleSelection);
    // Every item is one line of one font: the list need not measure each one to lay them out.
    list->setUniformItemSizes(true);
    // A list that keeps one choice says so when the choice moves; a multi-select list whenever an
    // item is picked or let go.
    if (multiSelect)
        QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this] { RaiseClick(); });
    else
        QObject::connect(list, &QListWidget::currentRowChanged, list, [this] { RaiseClick(); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [this] {
        if (auto h = OnDblClick) h();
    });
    // The items lie on the list's viewport, which receives the mouse: its presses, moves and
    // releases are the list's (a right-button release opens a list's pop-up menu).
    list->viewport()->setMouseTracking(true);
    viewportHook_ = InstallMouseHook(
        list->viewport(), MouseHandlers{nullptr, nullptr, &OnMouseDown, &OnMouseMove, &OnMouseUp}, false);
}
ListBox::~ListBox() {
    // The hook went with the list if a container deleted the list first.
    if (WidgetOf(*this)) DetachMouseHook(viewportHook_);
}
void ListBox::AddItem(const std::string& text, int index) {
    QListWidget* list = ListOf(*this);
    const int at = InRange(index, list->count() + 1) ? index : list->count();
    const QSignalBlocker block(list);
    list->insertItem(at, ToQString(text));
    newIndex_ = at;
}
void ListBox::AddItems(const std::vector<std::string>& texts) {
    if (texts.empty()) return;
    QListWidget* list = ListOf(*this);
    QStringList items;
    items.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts)
        items.push_back(ToQString(text));
    const QSignalBlocker block(list);
    list->addItems(items);
    newIndex_ = list->count() - 1;
}
void ListBox::RemoveItem(int index) {
    QListWidget* list = ListOf(*this);
    if (!InRange(index, list->count())) return;
    const QSignalBlocker block(list);
    delete list->takeItem(index);
}
void ListBox::Clear() {
    QListWidget* list = ListOf(*this);
    const QSignalBlocker block(list);
    list->clear();
}
int ListBox::ListCount() const {
    return ListOf(*this)->count();
}
std::string ListBox::List(int index) const {
    QListWidgetItem* item = ListOf(*this)->item(index);
    return item ? FromQString(item->text()) : std::string();
}
void ListBox::SetList(int index, const std::string& text) {
    if (QListWidgetItem* item = ListOf(*this)->item(index)) item->setText(ToQString(text));
}
int ListBox::ListIndex() const {
    return ListOf(*this)->currentRow();
}
void ListBox::SetListIndex(int index) {
    SetCurrentRow(ListOf(*this), index);
}
long ListBox::ItemData(int index) const {
    QListWidgetItem* item = ListOf(*this)->item(index);
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}
void ListBox::SetItemData(int index, long data) {
    if (QListWidgetItem* item = ListOf(*this)->item(index)) item->setData(Qt::UserRole, qlonglong(data));
}
bool ListBox::Selected(int index) const {
    QListWidgetItem* item = ListOf(*this)->item(index);
    return item && item->isSelected();
}
void ListBox::SetSelected(int index, bool selected) {
    if (QListWidgetItem* item = ListOf(*this)->item(index)) item->setSelected(selected);
}
int ListBox::SelCount() const {
    return static_cast<int>(ListOf(*this)->selectedItems().size());
}
int ListBox::TopIndex() const {
    return TopRow(ListOf(*this));
}
void ListBox::SetTopIndex(int index) {
    ScrollRowToTop(ListOf(*this), index);
}
void ListBox::SetWordWrap(bool wrap) {
    QListWidget* list = ListOf(*this);
    // Items of several lines differ in height, and the lines break anew when the list's width
    // changes.
    list->setUniformItemSizes(!wrap);
    list->setWordWrap(wrap);
    list->setResizeMode(wrap ? QListView::Adjust : QListView::Fixed);
    list->setTextElideMode(wrap ? Qt::ElideNone : Qt::ElideRight);
    list->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}
void ListBox::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const ListBox*>(&base)) {
        QListWidget* list = ListOf(*this);
        list->setSelectionMode(ListOf(*other)->selectionMode());
        SetWordWrap(ListOf(*other)->wordWrap());
    }
}

// VirtualListBox

// The items as the view sees them: a number, and texts read from the owner when asked for.
class VirtualListBox::Source : public QAbstractListModel {
  public:
    explicit Source(QObject* parent) : QAbstractListModel(parent) {}

    std::function<std::string(int)> text;
    int count = 0;

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : count; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || !InRange(index.row(), count) || !text) return {};
        return ToQString(text(index.row()));
    }

    void Reset(int rows) {
        beginResetModel();
        count = std::max(rows, 0);
        endResetModel();
    }
    void Insert(int first, int rows) {
        if (rows <= 0 || first < 0 || first > count) return;
        beginInsertRows(QModelIndex(), first, first + rows - 1);
        count += rows;
        endInsertRows();
    }
    void Remove(int first, int rows) {
        rows = std::min(rows, count - first);
        if (rows <= 0 || first < 0) return;
        beginRemoveRows(QModelIndex(), first, first + rows - 1);
        count -= rows;
        endRemoveRows();
    }
};

namespace {

QListView* ViewOf(const Control& c) {
    return static_cast<QListView*>(WidgetOf(c));
}

} // namespace

VirtualListBox::VirtualListBox(NativeWidget* parent)
    : Control(ToNativeWidget(new QListView(ToQWidget(parent))), false) {
    SetBackColor(kSystemColourFlag | 5);
    SetForeColor(kSystemColourFlag | 8);
    QListView* view = ViewOf(*this);
    source_ = new Source(view);
    view->setModel(source_);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every item is one line of one font: the view measures one item, not all of them.
    view->setUniformItemSizes(true);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, view, [this] {
        if (!changing_) RaiseClick();
    });
    QObject::connect(view, &QAbstractItemView::doubleClicked, view, [this] {
        if (auto h = OnDblClick) h();
    });
}
VirtualListBox::~VirtualListBox() {
    // The view goes after this object, with the base: it must not ask the owner for a text then.
    source_->text = nullptr;
}
void VirtualListBox::SetItemSource(std::function<std::string(int)> text) {
    source_->text = std::move(text);
}
void VirtualListBox::ResetItems(int count) {
    changing_ = true;
    source_->Reset(count);
    changing_ = false;
}
void VirtualListBox::ItemsInserted(int index, int count) {
    changing_ = true;
    source_->Insert(index, count);
    changing_ = false;
}
void VirtualListBox::ItemsRemoved(int index, int count) {
    changing_ = true;
    source_->Remove(index, count);
    changing_ = false;
}
int VirtualListBox::ListCount() const {
    return source_->count;
}
std::string VirtualListBox::List(int index) const {
    return InRange(index, source_->count) && source_->text ? source_->text(index) : std::string();
}
int VirtualListBox::ListIndex() const {
    return ViewOf(*this)->currentIndex().row();
}
void VirtualListBox::SetListIndex(int index) {
    SetCurrentRow(ViewOf(*this), index);
}
int VirtualListBox::TopIndex() const {
    return TopRow(ViewOf(*this));
}
void VirtualListBox::SetTopIndex(int index) {
    ScrollRowToTop(ViewOf(*this), index);
}

// ComboBox

ComboBox::ComboBox(NativeWidget* parent, int style)
    : Control(ToNativeWidget(new QComboBox(ToQWidget(parent))), false) {
    SetBackColor(kSystemColourFlag | 5);
    SetForeColor(kSystemColourFlag | 8);
    QComboBox* combo = ComboOf(*this);
    combo->setEditable(style != 2);
    combo->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [this](int index) {
        if (index >= 0) RaiseClick();
    });
    if (QLineEdit* edit = combo->lineEdit())
        QObject::connect(edit, &QLineEdit::textEdited, combo, [this, combo, edit] {
            // Typing leaves the chosen item.
            if (combo->currentIndex() >= 0) {
                const QSignalBlocker block(combo);
                const QString text = edit->text();
                const int caret = edit->cursorPosition();
                combo->setCurrentIndex(-1);
                edit->setText(text);
                edit->setCursorPosition(caret);
            }
            if (auto h = OnChange) h();
        });
}
ComboBox::~ComboBox() = default;

void ComboBox::AddItem(const std::string& text, int index) {
    QComboBox* combo = ComboOf(*this);
    const QSignalBlocker block(combo);
    const QString edit = combo->currentText();
    combo->insertItem(InRange(index, combo->count() + 1) ? index : combo->count(), ToQString(text));
    // The first item is not chosen by being added.
    if (combo->count() == 1) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable()) combo->setEditText(edit);
    }
}
void ComboBox::RemoveItem(int index) {
    QComboBox* combo = ComboOf(*this);
    const QSignalBlocker block(combo);
    if (InRange(index, combo->count())) combo->removeItem(index);
}
void ComboBox::Clear() {
    QComboBox* combo = ComboOf(*this);
    const QSignalBlocker block(combo);
    combo->clear();
}
int ComboBox::ListCount() const {
    return ComboOf(*this)->count();
}
std::string ComboBox::List(int index) const {
    QComboBox* combo = ComboOf(*this);
    return InRange(index, combo->count()) ? FromQString(combo->itemText(index)) : std::string();
}
int ComboBox::ListIndex() const {
    return ComboOf(*this)->currentIndex();
}
void ComboBox::SetListIndex(int index) {
    QComboBox* combo = ComboOf(*this);
    combo->setCurrentIndex(InRange(index, combo->count()) ? index : -1);
}
long ComboBox::ItemData(int index) const {
    QComboBox* combo = ComboOf(*this);
    return InRange(index, combo->count()) ? combo->itemData(index).toLongLong() : 0;
}
void ComboBox::SetItemData(int index, long data) {
    QComboBox* combo = ComboOf(*this);
    if (InRange(index, combo->count())) combo->setItemData(index, qlonglong(data));
}
std::string ComboBox::Text() const {
    return FromQString(ComboOf(*this)->currentText());
}
void ComboBox::SetText(const std::string& text) {
    QComboBox* combo = ComboOf(*this);
    if (combo->isEditable()) {
        {
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(-1);
            combo->setEditText(ToQString(text));
        }
        if (auto h = OnChange) h();
        return;
    }
    combo->setCurrentIndex(combo->findText(ToQString(text), Qt::MatchFixedString));
}
void ComboBox::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const ComboBox*>(&base))
        ComboOf(*this)->setEditable(ComboOf(*other)->isEditable());
}

// FileListBox

FileListBox::FileListBox(NativeWidget* parent) : ListBox(parent) {
    Refresh();
}
void FileListBox::SetPath(const std::string& path) {
    path_ = path;
    Refresh();
}
void FileListBox::SetPattern(const std::string& pattern) {
    pattern_ = pattern;
    Refresh();
}
std::string FileListBox::FileName() const {
    return List(ListIndex());
}
void FileListBox::Refresh() {
    std::vector<std::string> names;
    std::string patterns = pattern_.empty() ? "*.*" : pattern_;
    for (std::size_t start = 0; start <= patterns.size();) {
        std::size_t end = patterns.find(';', start);
        if (end == std::string::npos) end = patterns.size();
        for (std::string& name : ListFiles(path_, patterns.substr(start, end - start)))
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
        start = end + 1;
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
        });
    });
    QListWidget* list = ListOf(*this);
    const QSignalBlocker block(list);
    list->clear();
    for (const std::string& name : names)
        AddItem(name);
}

} // namespace platform
