// The window probe of the end-to-end tests and the monkey. When the environment names a socket in
// KARVEL_PROBE, the program listens there and answers each request with what a player would see
// on screen: the visible windows and, in each, the controls, list rows and menu items with their
// text and the screen rectangle where a click would reach them. It only reads: the tests drive the
// program with real input events of the window system, and ask the probe where to aim and when a
// window or a state has arrived. A request also proves that the event loop is alive.
#include "platform/QtRuntime.h"
#include "platform/QtText.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>
#include <QVariant>
#include <QWindow>

#include <cstdlib>
#include <string>

namespace platform {
namespace {

// One field of a line: tabs and line breaks would split the line.
QString Field(QString text) {
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    if (text.size() > 200) text = text.left(200);
    return text;
}

// Where a click reaches the widget, in its own pixels: its rectangle (or mask), less what its
// later siblings cover, clipped by each of its parents up to the window.
QRegion ReachableRegion(const QWidget* widget) {
    QRegion region = widget->mask().isEmpty() ? QRegion(widget->rect()) : widget->mask();
    QPoint offset(0, 0);
    for (const QWidget* child = widget; !child->isWindow(); child = child->parentWidget()) {
        const QWidget* parent = child->parentWidget();
        if (!parent) break;
        offset += child->pos();
        region.translate(child->pos());
        const QObjectList& siblings = parent->children();
        for (qsizetype i = siblings.indexOf(const_cast<QWidget*>(child)) + 1; i < siblings.size(); ++i) {
            if (!siblings[i]->isWidgetType()) continue;
            auto* above = static_cast<const QWidget*>(siblings[i]);
            if (above->isWindow() || above->isHidden()) continue;
            QRegion covered = above->mask().isEmpty() ? QRegion(above->rect()) : above->mask();
            covered.translate(above->pos());
            region -= covered;
        }
        region &= parent->mask().isEmpty() ? QRegion(parent->rect()) : parent->mask();
    }
    return region.translated(-offset);
}

// The middle of the largest rectangle of the region; (-1, -1) when there is none.
QPoint ClickPoint(const QRegion& region) {
    QRect best;
    for (const QRect& r : region)
        if (static_cast<long long>(r.width()) * r.height() >
            static_cast<long long>(best.width()) * best.height())
            best = r;
    return best.isEmpty() ? QPoint(-1, -1) : best.center();
}

QString Rect(const QRect& r) {
    return QStringLiteral("%1\t%2\t%3\t%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString Point(QPoint p) {
    return QStringLiteral("%1\t%2").arg(p.x()).arg(p.y());
}

QString KindOf(const QWidget* window) {
    if (qobject_cast<const QMenu*>(window)) return QStringLiteral("menu");
    if (window->windowType() == Qt::ToolTip) return QStringLiteral("tip");
    if (window->windowType() == Qt::Popup) return QStringLiteral("popup");
    if (qobject_cast<const QDialog*>(window)) return QStringLiteral("dialog");
    return QStringLiteral("window");
}

QString TextOf(const QWidget* widget) {
    if (auto* b = qobject_cast<const QAbstractButton*>(widget)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(widget)) return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(widget)) return e->text();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(widget)) return p->toPlainText();
    if (auto* t = qobject_cast<const QTextEdit*>(widget)) return t->toPlainText();
    if (auto* c = qobject_cast<const QComboBox*>(widget)) return c->currentText();
    if (auto* g = qobject_cast<const QGroupBox*>(widget)) return g->title();
    // A control of ours says what it is by its accessible name, or else by its tool tip (a button
    // whose caption is drawn into its picture).
    return widget->accessibleName().isEmpty() ? widget->toolTip() : widget->accessibleName();
}

QString StateOf(const QWidget* widget) {
    QString state = widget->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled");
    if (auto* b = qobject_cast<const QAbstractButton*>(widget); b && b->isCheckable() && b->isChecked())
        state += QStringLiteral(",checked");
    if (widget->hasFocus()) state += QStringLiteral(",focus");
    return state;
}

// widget <window> <class> <name> <tag> <state> <x y w h> <click x y> <look> <text>, where the look
// of a control surface changes whenever another picture is drawn on it (0 for other widgets).
void DescribeWidget(QString& out, int window, const QWidget* widget) {
    const QRegion region = ReachableRegion(widget);
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    QPoint click = ClickPoint(region);
    if (click.x() >= 0) click += origin;
    std::string tag;
    long long look = 0;
    const bool surface = IsSurfaceWidget(widget, &tag, &look);
    out +=
        QStringLiteral("widget\t%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9\n")
            .arg(window)
            .arg(surface ? QStringLiteral("Surface") : QString::fromLatin1(widget->metaObject()->className()))
            .arg(Field(widget->objectName()))
            .arg(Field(ToQString(tag)))
            .arg(StateOf(widget))
            .arg(Rect(QRect(origin, widget->size())))
            .arg(Point(click))
            .arg(look)
            .arg(Field(TextOf(widget)));
    // The rows a list shows, each where it lies on screen.
    if (auto* view = qobject_cast<const QAbstractItemView*>(widget); view && view->model()) {
        const QWidget* viewport = view->viewport();
        const QRect shown = viewport->rect();
        const int rows = view->model()->rowCount(view->rootIndex());
        for (int row = 0; row < rows; ++row) {
            const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
            const QRect at = view->visualRect(index) & shown;
            if (at.isEmpty()) continue;
            const QPoint rowOrigin = viewport->mapToGlobal(at.topLeft());
            const bool selected = view->selectionModel() && view->selectionModel()->isSelected(index);
            out += QStringLiteral("row\t%1\t%2\t%3\t%4\t%5\t%6\n")
                       .arg(window)
                       .arg(row)
                       .arg(selected ? QStringLiteral("selected") : QStringLiteral("-"))
                       .arg(Rect(QRect(rowOrigin, at.size())))
                       .arg(Point(QRect(rowOrigin, at.size()).center()))
                       .arg(Field(index.data().toString()));
        }
    }
}

void DescribeMenu(QString& out, int window, const QMenu* menu) {
    int position = 0;
    for (QAction* action : menu->actions()) {
        if (!action->isVisible()) continue;
        const QRect at = menu->actionGeometry(action);
        const QRect global(menu->mapToGlobal(at.topLeft()), at.size());
        QString text = action->text();
        text.remove(QLatin1Char('&'));
        QString state = action->isSeparator() ? QStringLiteral("separator")
                        : action->isEnabled() ? QStringLiteral("enabled")
                                              : QStringLiteral("disabled");
        if (action->menu()) state += QStringLiteral(",submenu");
        if (menu->activeAction() == action) state += QStringLiteral(",active");
        out += QStringLiteral("item\t%1\t%2\t%3\t%4\t%5\t%6\n")
                   .arg(window)
                   .arg(position++)
                   .arg(state)
                   .arg(Rect(global))
                   .arg(Point(global.center()))
                   .arg(Field(text));
    }
}

void DescribeChildren(QString& out, int window, const QWidget* parent) {
    for (QObject* object : parent->children()) {
        if (!object->isWidgetType()) continue;
        auto* widget = static_cast<const QWidget*>(object);
        if (widget->isWindow() || !widget->isVisible()) continue;
        DescribeWidget(out, window, widget);
        DescribeChildren(out, window, widget);
    }
}

// A submenu's title is the text of the item that opens it, so that a test can tell which item's
// submenu shows (a menu may keep the submenu of an item the pointer crossed open a moment longer).
QString TitleOf(const QWidget* window) {
    if (!window->windowTitle().isEmpty() || !qobject_cast<const QMenu*>(window)) return window->windowTitle();
    for (QWidget* other : QApplication::topLevelWidgets()) {
        auto* menu = qobject_cast<const QMenu*>(other);
        if (!menu || menu == window) continue;
        for (QAction* action : menu->actions())
            if (action->menu() == window) return action->text().remove(QLatin1Char('&'));
    }
    return QString();
}

// Each window keeps its number for its life, so that a test can tell a new message box from the
// one it just answered.
int IdOf(QWidget* window) {
    static int lastId = 0;
    QVariant known = window->property("karvelProbeId");
    if (!known.isValid()) {
        known = ++lastId;
        window->setProperty("karvelProbeId", known);
    }
    return known.toInt();
}

QString Scene() {
    QString out;
    const QWidget* active = QApplication::activeWindow();
    const QWidget* modal = QApplication::activeModalWidget();
    const QWidget* popup = QApplication::activePopupWidget();
    // The windows come in the order the application knows them, with the active one, the modal
    // one and an open pop-up marked.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        const int id = IdOf(window);
        QString state;
        if (window == active) state += QStringLiteral("active,");
        if (window == modal) state += QStringLiteral("modal,");
        if (window == popup) state += QStringLiteral("popup,");
        // A minimised window stays visible to the program but the screen shows none of it.
        if (window->isMinimized()) state += QStringLiteral("minimised,");
        if (state.isEmpty()) state = QStringLiteral("-");
        const QRect frame = window->frameGeometry();
        const QRect inner(window->mapToGlobal(QPoint(0, 0)), window->size());
        out += QStringLiteral("window\t%1\t%2\t%3\t%4\t%5\t%6\n")
                   .arg(id)
                   .arg(KindOf(window))
                   .arg(state)
                   .arg(Rect(inner))
                   .arg(Rect(frame))
                   .arg(Field(TitleOf(window)));
        if (auto* menu = qobject_cast<const QMenu*>(window))
            DescribeMenu(out, id, menu);
        else
            DescribeChildren(out, id, window);
    }
    out += QStringLiteral("end\n");
    return out;
}

class ProbeServer : public QLocalServer {
  public:
    explicit ProbeServer(QObject* parent) : QLocalServer(parent) {
        connect(this, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* socket = nextPendingConnection()) {
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QLocalSocket::readyRead, socket, [socket] { Answer(socket); });
            }
        });
    }

  private:
    static void Answer(QLocalSocket* socket) {
        if (!socket->canReadLine()) return;
        const QString request = QString::fromUtf8(socket->readLine()).trimmed();
        QString reply;
        if (request == QLatin1String("scene")) {
            reply = Scene();
        } else if (request.startsWith(QLatin1String("shot "))) {
            // The whole screen, as a player sees it, written where the test asks.
            QScreen* screen = QGuiApplication::primaryScreen();
            const bool saved = screen && screen->grabWindow(0).save(request.mid(5), "PNG");
            reply = saved ? QStringLiteral("ok\n") : QStringLiteral("failed\n");
        } else if (request.startsWith(QLatin1String("at "))) {
            // The widgets under a point of the screen, the one the window system would give a click
            // to first, then the number of the window they lie in: the window the screen shows on
            // top there, as the window system stacks them.
            const QStringList xy = request.mid(3).split(QLatin1Char(' '));
            if (xy.size() == 2)
                if (QWidget* at = QApplication::widgetAt(xy[0].toInt(), xy[1].toInt())) {
                    for (QWidget* w = at; w; w = w->parentWidget())
                        reply += QStringLiteral("%1\t%2\n")
                                     .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName());
                    reply += QStringLiteral("window\t%1\n").arg(IdOf(at->window()));
                }
            reply += QStringLiteral("end\n");
        } else {
            reply = QStringLiteral("unknown\n");
        }
        socket->write(reply.toUtf8());
        socket->flush();
        socket->disconnectFromServer();
    }
};

} // namespace

void StartProbeIfAsked() {
    const char* path = std::getenv("KARVEL_PROBE");
    if (!path || !*path || !qApp) return;
    static QPointer<ProbeServer> server;
    if (server) return;
    server = new ProbeServer(qApp);
    QLocalServer::removeServer(QString::fromLocal8Bit(path));
    if (!server->listen(QString::fromLocal8Bit(path))) qWarning("The window probe cannot listen at %s", path);
}

} // namespace platform
