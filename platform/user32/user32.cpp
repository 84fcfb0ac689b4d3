#include "user32/user32.h"

#include "base/ansi.h"

#include <QApplication>
#include <QCursor>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QWidget>

#include <cstring>
#include <unordered_map>

namespace {

struct WindowClass {
    WindowFactory factory;
    WNDPROC procedure = nullptr;
};

struct Window {
    QPointer<QWidget> widget;
    QMetaObject::Connection destroyedConnection;
    QByteArray className;
    WNDPROC procedure = DefWindowProcA;
    DWORD style = 0;
    DWORD exStyle = 0;
    bool destroying = false; // WM_DESTROY sent: a second DestroyWindow does nothing more
    QMap<QByteArray, HANDLE> properties; // keys in lower case
};

// The handle table. Handles count up from 1 and are never handed out twice.
struct Table {
    std::unordered_map<HWND, Window> windows;
    QHash<const QWidget *, HWND> handles;
    QHash<QByteArray, WindowClass> classes; // keys in lower case
    QHash<HDC, HWND> deviceContexts;
    HWND lastHandle = 0;
    HDC lastDC = 0;
};

Table &table()
{
    static Table t;
    return t;
}

Window *find(HWND hwnd)
{
    if (hwnd == 0)
        return nullptr;
    auto it = table().windows.find(hwnd);
    return it == table().windows.end() ? nullptr : &it->second;
}

QByteArray key(LPCSTR name)
{
    return QByteArray(name ? name : "").toLower();
}

// Removes a window from the table; its handle stays used up.
void forget(HWND hwnd)
{
    Table &t = table();
    auto it = t.windows.find(hwnd);
    if (it == t.windows.end())
        return;
    QObject::disconnect(it->second.destroyedConnection);
    if (it->second.widget)
        t.handles.remove(it->second.widget.data());
    else
        t.handles.removeIf([hwnd](auto entry) { return entry.value() == hwnd; });
    t.deviceContexts.removeIf([hwnd](auto entry) { return entry.value() == hwnd; });
    t.windows.erase(it);
}

HWND enter(QWidget *widget, const QByteArray &className, WNDPROC procedure, DWORD style, DWORD exStyle)
{
    Table &t = table();
    const HWND hwnd = ++t.lastHandle;
    Window w;
    w.widget = widget;
    w.className = className;
    w.procedure = procedure ? procedure : DefWindowProcA;
    w.style = style;
    w.exStyle = exStyle;
    // A widget that Qt deletes on its own (with its parent, say) still says
    // goodbye to its procedure, then its handle is gone.
    w.destroyedConnection = QObject::connect(widget, &QObject::destroyed, [hwnd]() {
        if (Window *win = find(hwnd)) {
            win->widget = nullptr;
            if (!win->destroying) {
                win->destroying = true;
                SendMessageA(hwnd, WM_DESTROY, 0, 0);
            }
            forget(hwnd);
        }
    });
    t.windows.emplace(hwnd, std::move(w));
    t.handles.insert(widget, hwnd);
    return hwnd;
}

DWORD currentStyle(const Window &w)
{
    DWORD style = w.style & ~(WS_VISIBLE | WS_CHILD);
    // Shown unless hidden on purpose, as a child of a window not yet shown.
    if (w.widget && !w.widget->isHidden())
        style |= WS_VISIBLE;
    if (w.widget && !w.widget->isWindow())
        style |= WS_CHILD;
    return style;
}

bool nameMatches(LPCSTR wanted, const QByteArray &actual, bool caseless)
{
    if (!wanted)
        return true;
    return caseless ? key(wanted) == actual.toLower() : QByteArray(wanted) == actual;
}

} // namespace

HWND HandleOf(QWidget *widget, const char *className)
{
    if (!widget)
        return 0;
    if (HWND hwnd = table().handles.value(widget, 0))
        return hwnd;
    const QByteArray name = className ? QByteArray(className) : QByteArray(widget->metaObject()->className());
    return enter(widget, name, DefWindowProcA, widget->isWindow() ? 0 : WS_CHILD, 0);
}

QWidget *WidgetOf(HWND hwnd)
{
    Window *w = find(hwnd);
    return w ? w->widget.data() : nullptr;
}

BOOL IsWindow(HWND hwnd)
{
    return find(hwnd) != nullptr ? TRUE : FALSE;
}

void RegisterWindowClass(LPCSTR className, WindowFactory factory, WNDPROC windowProc)
{
    table().classes.insert(key(className), WindowClass{std::move(factory), windowProc});
}

BOOL IsWindowClassRegistered(LPCSTR className)
{
    return className && table().classes.contains(key(className)) ? TRUE : FALSE;
}

LRESULT DefWindowProcA(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                     int x, int y, int width, int height,
                     HWND parent, HMENU, HINSTANCE, LPVOID param)
{
    if (!className)
        return 0;
    auto it = table().classes.constFind(key(className));
    if (it == table().classes.cend() || !it->factory)
        return 0;
    QWidget *parentWidget = WidgetOf(parent);
    if (parent != 0 && !parentWidget)
        return 0;
    const WindowClass windowClass = *it;
    const WindowCreateInfo info{exStyle, className, windowName, style, x, y, width, height, parentWidget, param};
    QWidget *widget = windowClass.factory(info);
    if (!widget)
        return 0;
    if (windowName && !widget->isWindow())
        widget->setObjectName(ansi::toUnicode(windowName));
    else if (windowName)
        widget->setWindowTitle(ansi::toUnicode(windowName));
    const HWND hwnd = enter(widget, QByteArray(className), windowClass.procedure, style, exStyle);
    if ((style & WS_VISIBLE) && !widget->isVisible())
        widget->show();
    return hwnd;
}

BOOL DestroyWindow(HWND hwnd)
{
    Window *w = find(hwnd);
    if (!w)
        return FALSE;
    // A procedure that destroys its window again while hearing WM_DESTROY
    // leaves the first call to finish the work.
    if (w->destroying)
        return TRUE;
    w->destroying = true;
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    w = find(hwnd); // the procedure may have had it deleted meanwhile
    if (!w)
        return TRUE;
    QPointer<QWidget> widget = w->widget;
    forget(hwnd);
    delete widget.data();
    return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window *w = find(hwnd);
    if (!w || !w->procedure)
        return 0;
    const WNDPROC procedure = w->procedure;
    return procedure(hwnd, msg, wParam, lParam);
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return procedure ? procedure(hwnd, msg, wParam, lParam) : 0;
}

LONG_PTR GetWindowLongA(HWND hwnd, int index)
{
    Window *w = find(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->procedure);
    case GWL_STYLE:
        return static_cast<LONG_PTR>(currentStyle(*w));
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(w->exStyle);
    default:
        return 0;
    }
}

LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value)
{
    Window *w = find(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWL_WNDPROC: {
        const LONG_PTR previous = reinterpret_cast<LONG_PTR>(w->procedure);
        // A window always has a procedure: 0 gives it the default one.
        w->procedure = value ? reinterpret_cast<WNDPROC>(value) : DefWindowProcA;
        return previous;
    }
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        DWORD &field = index == GWL_STYLE ? w->style : w->exStyle;
        STYLESTRUCT change{index == GWL_STYLE ? currentStyle(*w) : w->exStyle, static_cast<DWORD>(value)};
        field = change.styleNew;
        if (index == GWL_STYLE && w->widget && ((change.styleOld ^ change.styleNew) & WS_VISIBLE))
            w->widget->setVisible(change.styleNew & WS_VISIBLE);
        SendMessageA(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
        return static_cast<LONG_PTR>(change.styleOld);
    }
    default:
        return 0;
    }
}

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE value)
{
    Window *w = find(hwnd);
    if (!w || !name)
        return FALSE;
    w->properties.insert(key(name), value);
    return TRUE;
}

HANDLE GetPropA(HWND hwnd, LPCSTR name)
{
    Window *w = find(hwnd);
    return w && name ? w->properties.value(key(name), nullptr) : nullptr;
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name)
{
    Window *w = find(hwnd);
    return w && name ? w->properties.take(key(name)) : nullptr;
}

HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName)
{
    QList<QWidget *> candidates;
    if (parent == 0) {
        candidates = QApplication::topLevelWidgets();
    } else {
        QWidget *parentWidget = WidgetOf(parent);
        if (!parentWidget)
            return 0;
        candidates = parentWidget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    }
    bool searching = childAfter == 0;
    for (QWidget *candidate : candidates) {
        const HWND hwnd = table().handles.value(candidate, 0);
        if (!searching) {
            searching = hwnd != 0 && hwnd == childAfter;
            continue;
        }
        const QByteArray actualClass = hwnd ? find(hwnd)->className : QByteArray(candidate->metaObject()->className());
        const QString title = candidate->isWindow() ? candidate->windowTitle() : candidate->objectName();
        if (nameMatches(className, actualClass, true) && nameMatches(windowName, ansi::fromUnicode(title), false))
            return HandleOf(candidate);
    }
    return 0;
}

HWND SetParent(HWND child, HWND newParent)
{
    QWidget *widget = WidgetOf(child);
    QWidget *parentWidget = WidgetOf(newParent);
    // A window inside its own child would make Qt's parent chain a loop.
    if (!widget || (newParent != 0 && !parentWidget) || widget == parentWidget || widget->isAncestorOf(parentWidget))
        return 0;
    QWidget *oldParent = widget->parentWidget();
    const HWND oldHandle = oldParent ? HandleOf(oldParent) : 0;
    const bool wasVisible = widget->isVisible();
    const QPoint pos = widget->pos();
    widget->setParent(parentWidget, parentWidget ? Qt::Widget : Qt::Window);
    widget->move(pos);
    if (wasVisible)
        widget->show();
    return oldHandle;
}

HWND GetParent(HWND hwnd)
{
    QWidget *widget = WidgetOf(hwnd);
    return widget && widget->parentWidget() ? HandleOf(widget->parentWidget()) : 0;
}

HDC GetDC(HWND hwnd)
{
    if (!find(hwnd))
        return 0;
    const HDC dc = ++table().lastDC;
    table().deviceContexts.insert(dc, hwnd);
    return dc;
}

int ReleaseDC(HWND hwnd, HDC dc)
{
    auto &dcs = table().deviceContexts;
    auto it = dcs.find(dc);
    if (it == dcs.end() || it.value() != hwnd)
        return 0;
    dcs.erase(it);
    return 1;
}

HWND WindowFromDC(HDC dc)
{
    return table().deviceContexts.value(dc, 0);
}

BOOL GetCursorPos(POINT *point)
{
    if (!point)
        return FALSE;
    const QPoint pos = QCursor::pos();
    *point = POINT{pos.x(), pos.y()};
    return TRUE;
}

namespace {

BOOL mapPoint(HWND hwnd, POINT *point, QPoint (QWidget::*map)(const QPoint &) const)
{
    QWidget *widget = WidgetOf(hwnd);
    if (!widget || !point)
        return FALSE;
    const QPoint mapped = (widget->*map)(QPoint(point->x, point->y));
    *point = POINT{mapped.x(), mapped.y()};
    return TRUE;
}

} // namespace

BOOL ScreenToClient(HWND hwnd, POINT *point)
{
    return mapPoint(hwnd, point, &QWidget::mapFromGlobal);
}

BOOL ClientToScreen(HWND hwnd, POINT *point)
{
    return mapPoint(hwnd, point, &QWidget::mapToGlobal);
}

void Sleep(DWORD milliseconds)
{
    QThread::msleep(milliseconds);
}

void RtlMoveMemory(void *destination, const void *source, std::size_t length)
{
    if (length > 0 && destination && source)
        std::memmove(destination, source, length);
}
