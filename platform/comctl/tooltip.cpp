#include "comctl/tooltip.h"

#include "base/ansi.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEvent>
#include <QMouseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <list>

namespace {

// Delay defaults follow the usual double-click time of 500 ms.
constexpr int defaultInitialMs = 500;
constexpr int defaultAutopopMs = 10 * defaultInitialMs;
constexpr int defaultReshowMs = defaultInitialMs / 5;

// Shape of the tip, in pixels.
constexpr int rectPadding = 3;
constexpr int balloonPadding = 8;
constexpr int balloonRadius = 8;
constexpr int stemHeight = 14;
constexpr int stemWidth = 16;
constexpr int iconSize = 16;
constexpr int iconGap = 6;
constexpr int titleGap = 4;
constexpr int cursorHeight = 20; // a hover tip sits below the pointer

// Texts that the tooltip copies into a caller's buffer whose size it is not
// told are cut to this many bytes, the size of a notification's own buffer.
constexpr std::size_t unsizedBufferBytes = sizeof(NMTTDISPINFOA::szText);

struct Tool {
    UINT flags = 0;
    HWND owner = 0;
    UINT_PTR id = 0;
    RECT rect{};
    HINSTANCE hinst = nullptr;
    LPARAM lParam = 0;
    bool callback = false;
    QByteArray text;
};

bool validToolInfo(const TOOLINFOA *ti)
{
    return ti && (ti->cbSize == TTTOOLINFOA_V1_SIZE || ti->cbSize == TTTOOLINFOA_V2_SIZE
                  || ti->cbSize == TTTOOLINFOA_V3_SIZE);
}

// Whether a text field of a record points at characters: not null, not the
// callback marker, and not a resource number (those lie below 0x10000; this
// tooltip has no string resources to load, so such a text reads as empty).
bool isText(LPCSTR text)
{
    return text && text != LPSTR_TEXTCALLBACKA && reinterpret_cast<std::uintptr_t>(text) >= 0x10000;
}

COLORREF toColorRef(const QColor &c)
{
    return RGB(static_cast<BYTE>(c.red()), static_cast<BYTE>(c.green()), static_cast<BYTE>(c.blue()));
}

QColor fromColorRef(COLORREF c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Copies text with its terminating zero into a buffer of size bytes; a
// field that names no buffer is left alone.
void copyBounded(LPSTR buffer, std::size_t size, const QByteArray &text)
{
    if (!isText(buffer) || size == 0)
        return;
    const std::size_t n = std::min(size - 1, static_cast<std::size_t>(text.size()));
    std::memcpy(buffer, text.constData(), n);
    buffer[n] = '\0';
}

// Without TTS_NOPREFIX the tip drops the '&' of mnemonics; "&&" stays '&'.
QString stripPrefixes(const QString &text)
{
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                out += u'&', ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

void drawTitleIcon(QPainter &p, const QRect &r, WPARAM icon)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal cx = box.center().x();
    if (icon == TTI_WARNING) {
        QPainterPath triangle;
        triangle.moveTo(cx, box.top());
        triangle.lineTo(box.right(), box.bottom());
        triangle.lineTo(box.left(), box.bottom());
        triangle.closeSubpath();
        p.setPen(QPen(QColor(0x8a, 0x6d, 0x00), 1));
        p.setBrush(QColor(0xff, 0xd0, 0x1c));
        p.drawPath(triangle);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(cx - 1, box.top() + 5, 2, 6));
        p.drawRect(QRectF(cx - 1, box.bottom() - 3.5, 2, 2));
    } else {
        const bool error = icon == TTI_ERROR;
        p.setPen(QPen(error ? QColor(0x8e, 0x10, 0x10) : QColor(0x10, 0x3f, 0x8e), 1));
        p.setBrush(error ? QColor(0xd9, 0x2b, 0x2b) : QColor(0x2a, 0x6f, 0xd6));
        p.drawEllipse(box);
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        if (error) {
            const QRectF x = box.adjusted(4.5, 4.5, -4.5, -4.5);
            p.drawLine(x.topLeft(), x.bottomRight());
            p.drawLine(x.topRight(), x.bottomLeft());
        } else {
            p.drawPoint(QPointF(cx, box.top() + 4));
            p.drawLine(QPointF(cx, box.top() + 7), QPointF(cx, box.bottom() - 3));
        }
    }
    p.restore();
}

class TooltipWindow : public QWidget {
public:
    // Transparent for the mouse: a tracking balloon stands at the pointer,
    // and a pointer moved into it must still reach the window beneath, or
    // the balloon would stop following it.
    TooltipWindow()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                               | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput)
    {
        // See-through corners need a compositing desktop. An X server
        // without one leaves a translucent window invisible, so there the
        // window is only cut to the balloon's shape (updateMask).
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        const QPalette palette = QToolTip::palette();
        backColor_ = toColorRef(palette.color(QPalette::ToolTipBase));
        textColor_ = toColorRef(palette.color(QPalette::ToolTipText));
        initialTimer_.setSingleShot(true);
        autopopTimer_.setSingleShot(true);
        QObject::connect(&initialTimer_, &QTimer::timeout, this, [this] { hoverDelayPassed(); });
        QObject::connect(&autopopTimer_, &QTimer::timeout, this, [this] {
            hoverSuppressed_ = true;
            if (shown_ && shown_ != tracked_)
                hideTip(true);
        });
    }

    ~TooltipWindow() override { forgetAllTools(); }

    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    void paintEvent(QPaintEvent *) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HWND self() { return HandleOf(this); }
    DWORD style() { return static_cast<DWORD>(GetWindowLongA(self(), GWL_STYLE)); }
    bool balloon() { return style() & TTS_BALLOON; }

    Tool *findTool(const TOOLINFOA *ti);
    Tool *toolAt(HWND owner, QPoint clientPos);
    Tool *hoverToolAt(HWND watched, QPoint pos);
    bool contains(const Tool &tool, QPoint clientPos);
    bool isTool(const Tool *tool) const;
    void fillToolInfo(TOOLINFOA *ti, const Tool &tool);
    void removeTool(Tool *tool);
    void forgetAllTools();
    void watchOwner(HWND watched);

    LRESULT notify(const Tool &tool, UINT code);
    bool textOf(Tool *tool, QByteArray *text);

    void showTip(Tool *tool, QPoint anchor);
    bool hideTip(bool notifyOwner); // false when the window went away meanwhile
    void relayout();
    void placeAt(QPoint anchor);
    void hoverDelayPassed();

    // What the tip shows and where its parts go, in the tip's coordinates.
    QString displayText() const;
    QSize bodySize() const;
    QPainterPath balloonShape() const;
    void updateMask();
    QMargins frame() const;
    int delay(WPARAM which) const;

    std::list<Tool> tools_;
    bool active_ = true;
    COLORREF backColor_ = 0;
    COLORREF textColor_ = 0;
    int maxTipWidth_ = -1;
    RECT margin_{};
    int delays_[4] = {-1, -1, -1, -1}; // by TTDT_, -1 = default
    QByteArray title_;
    WPARAM titleIcon_ = TTI_NOICON;

    Tool *shown_ = nullptr;       // the tool whose tip is on screen
    QByteArray shownText_;
    QPoint anchor_;               // the point the tip belongs to, screen pixels
    bool ownerPlaced_ = false;    // TTN_SHOW answered: the owner placed the tip
    bool stemOnTop_ = true;
    int stemX_ = 0;

    Tool *tracked_ = nullptr;     // the tool of TTM_TRACKACTIVATE
    QPoint trackPos_;
    bool trackPosSet_ = false;

    Tool *hovered_ = nullptr;     // the hover tool under the mouse
    QPoint pointer_;              // where the mouse last moved over an owner
    bool hoverSuppressed_ = false;
    QElapsedTimer sinceHidden_;
    QTimer initialTimer_;
    QTimer autopopTimer_;
    QList<QPointer<QWidget>> watchedOwners_;
};

int TooltipWindow::delay(WPARAM which) const
{
    const int automatic = delays_[TTDT_AUTOMATIC] >= 0 ? delays_[TTDT_AUTOMATIC] : -1;
    switch (which) {
    case TTDT_INITIAL:
        return delays_[TTDT_INITIAL] >= 0 ? delays_[TTDT_INITIAL] : automatic >= 0 ? automatic : defaultInitialMs;
    case TTDT_AUTOPOP:
        return delays_[TTDT_AUTOPOP] >= 0 ? delays_[TTDT_AUTOPOP] : automatic >= 0 ? 10 * automatic : defaultAutopopMs;
    case TTDT_RESHOW:
        return delays_[TTDT_RESHOW] >= 0 ? delays_[TTDT_RESHOW] : automatic >= 0 ? automatic / 5 : defaultReshowMs;
    default:
        return delay(TTDT_INITIAL);
    }
}

bool TooltipWindow::isTool(const Tool *tool) const
{
    return tool && std::any_of(tools_.begin(), tools_.end(), [tool](const Tool &t) { return &t == tool; });
}

Tool *TooltipWindow::findTool(const TOOLINFOA *ti)
{
    if (!validToolInfo(ti))
        return nullptr;
    for (Tool &tool : tools_)
        if (tool.owner == ti->hwnd && tool.id == ti->uId)
            return &tool;
    return nullptr;
}

bool TooltipWindow::contains(const Tool &tool, QPoint clientPos)
{
    if (tool.flags & TTF_IDISHWND) {
        // The tool is a window: all of it, in the owner's client coordinates.
        QWidget *owner = WidgetOf(tool.owner);
        QWidget *toolWidget = WidgetOf(static_cast<HWND>(tool.id));
        if (!owner || !toolWidget || !toolWidget->isVisible())
            return false;
        const QRect area(owner->mapFromGlobal(toolWidget->mapToGlobal(QPoint(0, 0))), toolWidget->size());
        return area.contains(clientPos);
    }
    return clientPos.x() >= tool.rect.left && clientPos.x() < tool.rect.right && clientPos.y() >= tool.rect.top
           && clientPos.y() < tool.rect.bottom;
}

Tool *TooltipWindow::toolAt(HWND owner, QPoint clientPos)
{
    for (Tool &tool : tools_)
        if (tool.owner == owner && contains(tool, clientPos))
            return &tool;
    return nullptr;
}

// The hover tool under the mouse in a watched window: a tool window itself,
// or a rectangle of an owner.
Tool *TooltipWindow::hoverToolAt(HWND watched, QPoint pos)
{
    for (Tool &tool : tools_) {
        if (!(tool.flags & TTF_SUBCLASS) || (tool.flags & TTF_TRACK))
            continue;
        if ((tool.flags & TTF_IDISHWND) ? static_cast<HWND>(tool.id) == watched
                                        : tool.owner == watched && contains(tool, pos))
            return &tool;
    }
    return nullptr;
}

void TooltipWindow::fillToolInfo(TOOLINFOA *ti, const Tool &tool)
{
    ti->uFlags = tool.flags;
    ti->hwnd = tool.owner;
    ti->uId = tool.id;
    ti->rect = tool.rect;
    ti->hinst = tool.hinst;
    if (ti->cbSize >= TTTOOLINFOA_V2_SIZE)
        ti->lParam = tool.lParam;
    if (tool.callback)
        ti->lpszText = LPSTR_TEXTCALLBACKA;
    else
        copyBounded(ti->lpszText, unsizedBufferBytes, tool.text);
}

void TooltipWindow::watchOwner(HWND watched)
{
    QWidget *widget = WidgetOf(watched);
    if (!widget || watchedOwners_.contains(widget))
        return;
    watchedOwners_.append(widget);
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

void TooltipWindow::removeTool(Tool *tool)
{
    if (tool == shown_ && !hideTip(true))
        return;
    if (tool == tracked_)
        tracked_ = nullptr;
    if (tool == hovered_) {
        hovered_ = nullptr;
        initialTimer_.stop();
    }
    tools_.remove_if([tool](const Tool &t) { return &t == tool; });
}

void TooltipWindow::forgetAllTools()
{
    initialTimer_.stop();
    autopopTimer_.stop();
    shown_ = tracked_ = hovered_ = nullptr;
    QWidget::hide();
    tools_.clear();
    for (const QPointer<QWidget> &owner : std::as_const(watchedOwners_))
        if (owner)
            owner->removeEventFilter(this);
    watchedOwners_.clear();
}

LRESULT TooltipWindow::notify(const Tool &tool, UINT code)
{
    NMHDR header{self(), tool.id, code};
    return SendMessageA(tool.owner, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&header));
}

// The text a tool shows now: its own, or the owner's answer to TTN_NEEDTEXTA.
// False when the tool or this window went away while the owner answered.
bool TooltipWindow::textOf(Tool *tool, QByteArray *text)
{
    if (!tool->callback) {
        *text = tool->text;
        return true;
    }
    NMTTDISPINFOA info{};
    info.hdr = NMHDR{self(), tool->id, TTN_NEEDTEXTA};
    info.lpszText = info.szText;
    info.uFlags = tool->flags;
    info.lParam = tool->lParam;
    QPointer<TooltipWindow> alive(this);
    const HWND owner = tool->owner;
    SendMessageA(owner, WM_NOTIFY, tool->id, reinterpret_cast<LPARAM>(&info));
    if (!alive || !isTool(tool))
        return false;
    if (info.lpszText == info.szText)
        *text = QByteArray(info.szText, static_cast<qsizetype>(strnlen(info.szText, sizeof info.szText)));
    else if (isText(info.lpszText))
        *text = QByteArray(info.lpszText);
    else
        text->clear();
    if (info.uFlags & TTF_DI_SETITEM) {
        tool->text = *text;
        tool->callback = false;
    }
    return true;
}

QString TooltipWindow::displayText() const
{
    QString text = ansi::toUnicode(shownText_);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return const_cast<TooltipWindow *>(this)->style() & TTS_NOPREFIX ? text : stripPrefixes(text);
}

QMargins TooltipWindow::frame() const
{
    const int pad = const_cast<TooltipWindow *>(this)->balloon() ? balloonPadding : rectPadding;
    return QMargins(pad + margin_.left, pad + margin_.top, pad + margin_.right, pad + margin_.bottom);
}

QSize TooltipWindow::bodySize() const
{
    const QFontMetrics fm(font());
    const int wrapWidth = maxTipWidth_ >= 0 ? std::max(1, maxTipWidth_) : 1 << 20;
    const QString text = displayText();
    QSize content = text.isEmpty() ? QSize(0, 0)
                                   : fm.boundingRect(QRect(0, 0, wrapWidth, 1 << 20), Qt::TextWordWrap, text).size();
    // The advance of each line, not its ink, keeps its last letter clear of the edge.
    for (const QString &line : text.split(u'\n'))
        content.setWidth(std::max(content.width(), std::min(fm.horizontalAdvance(line) + 2, wrapWidth)));
    if (!title_.isEmpty()) {
        QFont bold = font();
        bold.setBold(true);
        const QFontMetrics bfm(bold);
        const int iconWidth = titleIcon_ != TTI_NOICON ? iconSize + iconGap : 0;
        const int titleWidth = iconWidth + bfm.horizontalAdvance(ansi::toUnicode(title_));
        const int titleHeight = std::max(bfm.height(), titleIcon_ != TTI_NOICON ? iconSize : 0);
        content.setWidth(std::max(content.width(), titleWidth));
        content.setHeight(content.height() + titleHeight + (text.isEmpty() ? 0 : titleGap));
    }
    const QMargins f = frame();
    return content.grownBy(f);
}

// The balloon's outline: a rounded body and a stem, a right triangle leaning
// into the body with its tip at the anchor.
QPainterPath TooltipWindow::balloonShape() const
{
    QRect bodyRect(QPoint(0, 0), bodySize());
    if (stemOnTop_)
        bodyRect.translate(0, stemHeight);
    const QRectF r = QRectF(bodyRect).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(r, balloonRadius, balloonRadius);
    const qreal tipX = stemX_ + 0.5;
    const qreal baseY = stemOnTop_ ? r.top() + 1 : r.bottom() - 1;
    const qreal tipY = stemOnTop_ ? 0.5 : height() - 0.5;
    const qreal otherX = stemX_ < width() / 2 ? tipX + stemWidth : tipX - stemWidth;
    QPainterPath stem;
    stem.moveTo(tipX, baseY);
    stem.lineTo(tipX, tipY);
    stem.lineTo(otherX, baseY);
    stem.closeSubpath();
    return shape.united(stem).simplified();
}

// Cuts the window to the balloon and its border line, so
// that it is a balloon also on a desktop that cannot show see-through windows.
void TooltipWindow::updateMask()
{
    if (!balloon()) {
        clearMask();
        return;
    }
    QPainterPathStroker edge;
    edge.setWidth(1);
    const QPainterPath shape = balloonShape();
    setMask(QRegion(shape.united(edge.createStroke(shape)).toFillPolygon().toPolygon()));
}

void TooltipWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor back = fromColorRef(backColor_);
    const QColor fore = fromColorRef(textColor_);
    const QColor border(0x64, 0x64, 0x64);
    const QSize body = bodySize();
    QRect bodyRect(QPoint(0, 0), body);

    if (balloon()) {
        if (stemOnTop_)
            bodyRect.translate(0, stemHeight);
        p.setPen(QPen(border, 1));
        p.setBrush(back);
        p.drawPath(balloonShape());
    } else {
        p.setPen(QPen(border, 1));
        p.setBrush(back);
        p.drawRect(QRectF(bodyRect).adjusted(0.5, 0.5, -0.5, -0.5));
    }

    QRect content = bodyRect.marginsRemoved(frame());
    if (!title_.isEmpty()) {
        QFont bold = font();
        bold.setBold(true);
        const QFontMetrics bfm(bold);
        const int titleHeight = std::max(bfm.height(), titleIcon_ != TTI_NOICON ? iconSize : 0);
        int x = content.left();
        if (titleIcon_ != TTI_NOICON) {
            drawTitleIcon(p, QRect(x, content.top() + (titleHeight - iconSize) / 2, iconSize, iconSize), titleIcon_);
            x += iconSize + iconGap;
        }
        p.setFont(bold);
        p.setPen(fore);
        p.drawText(QRect(x, content.top(), content.right() - x + 1, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   ansi::toUnicode(title_));
        content.setTop(content.top() + titleHeight + titleGap);
    }
    p.setFont(font());
    p.setPen(fore);
    p.drawText(content, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, displayText());
}

// Puts the tip next to its anchor and keeps it on the screen. A balloon's
// stem points at the anchor, above or below; a rectangular tip stands at an
// absolute tracking point or below the pointer.
void TooltipWindow::placeAt(QPoint anchor)
{
    anchor_ = anchor;
    // A window shown after the tip may have covered it; without a window
    // manager nobody keeps a topmost window on top but the tip itself.
    if (isVisible())
        raise();
    QSize size = bodySize();
    const bool isBalloon = balloon();
    if (isBalloon)
        size.rheight() += stemHeight;
    resize(size);
    if (ownerPlaced_) {
        updateMask();
        return;
    }
    QScreen *screen = QGuiApplication::screenAt(anchor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1 << 15, 1 << 15);
    const auto clampX = [&](int x) { return std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - size.width())); };
    const auto clampY = [&](int y) { return std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - size.height())); };

    if (isBalloon) {
        const int preferredStem = balloonRadius + 4;
        const int x = clampX(anchor.x() - preferredStem);
        stemX_ = std::clamp(anchor.x() - x, balloonRadius, std::max(balloonRadius, size.width() - balloonRadius - 1));
        stemOnTop_ = anchor.y() + size.height() <= area.bottom() + 1 || anchor.y() - size.height() < area.top();
        move(x, clampY(stemOnTop_ ? anchor.y() : anchor.y() - size.height() + 1));
        updateMask();
        return;
    }
    const bool exact = shown_ && shown_ == tracked_ && (shown_->flags & TTF_ABSOLUTE);
    const int below = exact ? anchor.y() : anchor.y() + cursorHeight;
    const int y = below + size.height() <= area.bottom() + 1 ? below : anchor.y() - size.height();
    int x = anchor.x();
    if (shown_ && shown_ != tracked_ && (shown_->flags & TTF_CENTERTIP))
        x -= size.width() / 2;
    move(clampX(x), clampY(y));
    updateMask();
}

void TooltipWindow::showTip(Tool *tool, QPoint anchor)
{
    if (shown_ && shown_ != tool && (!hideTip(true) || !isTool(tool)))
        return;
    QPointer<TooltipWindow> alive(this);
    QByteArray text;
    if (!textOf(tool, &text) || !alive)
        return;
    if (text.isEmpty()) {
        // A tool with nothing to say shows no tip.
        if (shown_ == tool)
            hideTip(true);
        return;
    }
    const bool fresh = shown_ != tool;
    shown_ = tool;
    shownText_ = text;
    if (fresh) {
        ownerPlaced_ = false;
        placeAt(anchor);
        const Tool copy = *tool;
        const bool ownerPlaced = notify(copy, TTN_SHOW) != 0;
        if (!alive || !isTool(tool) || shown_ != tool)
            return;
        ownerPlaced_ = ownerPlaced;
    } else {
        placeAt(anchor);
    }
    show();
    raise();
    update();
    if (tool != tracked_ && delay(TTDT_AUTOPOP) > 0)
        autopopTimer_.start(delay(TTDT_AUTOPOP));
}

bool TooltipWindow::hideTip(bool notifyOwner)
{
    autopopTimer_.stop();
    if (!shown_)
        return true;
    Tool *tool = shown_;
    shown_ = nullptr;
    ownerPlaced_ = false;
    QWidget::hide();
    sinceHidden_.start();
    if (!notifyOwner)
        return true;
    QPointer<TooltipWindow> alive(this);
    notify(*tool, TTN_POP);
    return !alive.isNull();
}

void TooltipWindow::relayout()
{
    if (shown_) {
        placeAt(anchor_);
        update();
    }
}

void TooltipWindow::hoverDelayPassed()
{
    if (!active_ || tracked_ || !isTool(hovered_) || hoverSuppressed_)
        return;
    QWidget *owner = WidgetOf(hovered_->owner);
    if (!owner || !owner->isVisible())
        return;
    if (!(style() & TTS_ALWAYSTIP) && !owner->window()->isActiveWindow())
        return;
    showTip(hovered_, pointer_);
}

bool TooltipWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *owner = qobject_cast<QWidget *>(watched);
    if (!owner)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        if (tracked_ || !active_)
            break;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = mouse->position().toPoint();
        pointer_ = mouse->globalPosition().toPoint();
        Tool *hit = hoverToolAt(HandleOf(owner), pos);
        if (hit != hovered_) {
            const bool recentlyShown = shown_ != nullptr || (sinceHidden_.isValid() && sinceHidden_.elapsed() < delay(TTDT_RESHOW) * 5);
            if (shown_ && !hideTip(true))
                return false;
            hovered_ = hit;
            hoverSuppressed_ = false;
            if (hit)
                initialTimer_.start(recentlyShown ? delay(TTDT_RESHOW) : delay(TTDT_INITIAL));
            else
                initialTimer_.stop();
        } else if (hit && !shown_ && !hoverSuppressed_) {
            initialTimer_.start(delay(TTDT_INITIAL)); // the pointer has to rest
        }
        break;
    }
    case QEvent::Leave:
    case QEvent::Hide:
        initialTimer_.stop();
        hovered_ = nullptr;
        if (shown_ && shown_ != tracked_)
            hideTip(true);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        initialTimer_.stop();
        hoverSuppressed_ = true;
        if (shown_ && shown_ != tracked_)
            hideTip(true);
        break;
    default:
        break;
    }
    return false;
}

LRESULT TooltipWindow::message(UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto *ti = reinterpret_cast<TOOLINFOA *>(lParam);
    switch (msg) {
    case WM_DESTROY:
        // The window goes with all its tools; the owners hear nothing more.
        forgetAllTools();
        return 0;

    case TTM_ACTIVATE:
        active_ = wParam != 0;
        if (!active_) {
            initialTimer_.stop();
            tracked_ = nullptr;
            hideTip(true);
        } else if (tracked_ && !shown_) {
            showTip(tracked_, trackPos_);
        }
        return 0;

    case TTM_ADDTOOLA: {
        if (!validToolInfo(ti) || !IsWindow(ti->hwnd))
            return FALSE;
        Tool tool;
        tool.flags = ti->uFlags;
        tool.owner = ti->hwnd;
        tool.id = ti->uId;
        tool.rect = ti->rect;
        tool.hinst = ti->hinst;
        tool.lParam = ti->cbSize >= TTTOOLINFOA_V2_SIZE ? ti->lParam : 0;
        tool.callback = ti->lpszText == LPSTR_TEXTCALLBACKA;
        if (isText(ti->lpszText))
            tool.text = QByteArray(ti->lpszText);
        tools_.push_back(tool);
        if (tool.flags & TTF_SUBCLASS)
            watchOwner((tool.flags & TTF_IDISHWND) ? static_cast<HWND>(tool.id) : tool.owner);
        return TRUE;
    }

    case TTM_DELTOOLA:
        if (Tool *tool = findTool(ti))
            removeTool(tool);
        return 0;

    case TTM_NEWTOOLRECTA:
        if (Tool *tool = findTool(ti))
            tool->rect = ti->rect;
        return 0;

    case TTM_GETTOOLINFOA:
        if (Tool *tool = findTool(ti)) {
            fillToolInfo(ti, *tool);
            return TRUE;
        }
        return FALSE;

    case TTM_HITTESTA: {
        auto *hit = reinterpret_cast<TTHITTESTINFOA *>(lParam);
        if (!hit || !validToolInfo(&hit->ti))
            return FALSE;
        Tool *tool = toolAt(hit->hwnd, QPoint(hit->pt.x, hit->pt.y));
        if (!tool)
            return FALSE;
        fillToolInfo(&hit->ti, *tool);
        return TRUE;
    }

    case TTM_GETTEXTA: {
        Tool *tool = findTool(ti);
        if (!tool) {
            if (validToolInfo(ti))
                copyBounded(ti->lpszText, wParam, QByteArray());
            return 0;
        }
        QByteArray text;
        if (isText(ti->lpszText) && textOf(tool, &text))
            copyBounded(ti->lpszText, wParam, text);
        return 0;
    }

    case TTM_UPDATETIPTEXTA:
        if (Tool *tool = findTool(ti)) {
            tool->callback = ti->lpszText == LPSTR_TEXTCALLBACKA;
            tool->text = isText(ti->lpszText) ? QByteArray(ti->lpszText) : QByteArray();
            if (tool == shown_)
                showTip(tool, anchor_);
        }
        return 0;

    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(tools_.size());

    case TTM_TRACKACTIVATE: {
        Tool *tool = findTool(ti);
        if (!tool)
            return 0;
        if (wParam) {
            if (tracked_ == tool && shown_ == tool)
                return 0;
            tracked_ = tool;
            if (!trackPosSet_)
                trackPos_ = QCursor::pos();
            initialTimer_.stop();
            if (active_)
                showTip(tool, trackPos_);
        } else if (tracked_ == tool) {
            tracked_ = nullptr;
            if (shown_ == tool)
                hideTip(true);
        }
        return 0;
    }

    case TTM_TRACKPOSITION:
        trackPos_ = QPoint(static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                           static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lParam))));
        trackPosSet_ = true;
        if (shown_ && shown_ == tracked_) {
            ownerPlaced_ = false;
            placeAt(trackPos_);
        }
        return 0;

    case TTM_SETTIPBKCOLOR:
        backColor_ = static_cast<COLORREF>(wParam);
        update();
        return 0;
    case TTM_GETTIPBKCOLOR:
        return backColor_;
    case TTM_SETTIPTEXTCOLOR:
        textColor_ = static_cast<COLORREF>(wParam);
        update();
        return 0;
    case TTM_GETTIPTEXTCOLOR:
        return textColor_;

    case TTM_SETDELAYTIME: {
        if (wParam > TTDT_INITIAL)
            return 0;
        // The delay is the signed low word; a negative one means the default.
        const int ms = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        if (wParam == TTDT_AUTOMATIC)
            std::fill(std::begin(delays_), std::end(delays_), -1);
        delays_[wParam] = ms < 0 ? -1 : ms;
        return 0;
    }
    case TTM_GETDELAYTIME:
        return delay(wParam);

    case TTM_SETMAXTIPWIDTH: {
        const int previous = maxTipWidth_;
        maxTipWidth_ = static_cast<int>(lParam) < 0 ? -1 : static_cast<int>(lParam);
        relayout();
        return previous;
    }
    case TTM_GETMAXTIPWIDTH:
        return maxTipWidth_;

    case TTM_SETMARGIN:
        if (auto *r = reinterpret_cast<const RECT *>(lParam)) {
            margin_ = *r;
            relayout();
        }
        return 0;
    case TTM_GETMARGIN:
        if (auto *r = reinterpret_cast<RECT *>(lParam))
            *r = margin_;
        return 0;

    case TTM_POP:
        hideTip(true);
        return 0;

    case TTM_UPDATE:
        if (shown_)
            showTip(shown_, anchor_);
        return 0;

    case TTM_ADJUSTRECT: {
        auto *r = reinterpret_cast<RECT *>(lParam);
        if (!r)
            return FALSE;
        const QMargins f = frame();
        const int sign = wParam ? 1 : -1;
        r->left -= sign * f.left();
        r->top -= sign * f.top();
        r->right += sign * f.right();
        r->bottom += sign * f.bottom();
        return TRUE;
    }

    case TTM_SETTITLEA:
        if (wParam > TTI_ERROR)
            return FALSE;
        titleIcon_ = wParam;
        title_ = lParam ? QByteArray(reinterpret_cast<LPCSTR>(lParam)) : QByteArray();
        relayout();
        return TRUE;

    default:
        return DefWindowProcA(self(), msg, wParam, lParam);
    }
}

LRESULT tooltipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto *tip = dynamic_cast<TooltipWindow *>(WidgetOf(hwnd));
    return tip ? tip->message(msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterTooltipClass()
{
    // A tooltip is always a window of its own; the parent only owns it.
    RegisterWindowClass(
        TOOLTIPS_CLASSA, [](const WindowCreateInfo &) { return new TooltipWindow; }, tooltipProc);
}
