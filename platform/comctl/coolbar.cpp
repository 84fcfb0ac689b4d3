#include "comctl/coolbar.h"

#include "user32/user32.h"

#include <QPainter>
#include <QVariant>

#include <cmath>

namespace {

const QColor buttonFace(212, 208, 200);
const QColor shadow(128, 128, 128);
const QColor highlight(255, 255, 255);

// A rectangle given along and across the bar, as it lies on the screen.
QRect oriented(bool vertical, int along, int across, int length, int thickness)
{
    return vertical ? QRect(across, along, thickness, length) : QRect(along, across, length, thickness);
}

// Two etched lines across the bar at position along.
void etch(QPainter &painter, bool vertical, int along, int from, int to)
{
    painter.setPen(shadow);
    if (vertical)
        painter.drawLine(from, along, to, along);
    else
        painter.drawLine(along, from, along, to);
    painter.setPen(highlight);
    if (vertical)
        painter.drawLine(from, along + 1, to, along + 1);
    else
        painter.drawLine(along + 1, from, along + 1, to);
}

} // namespace

// ---- bands -----------------------------------------------------------------

void CoolBarBand::setChild(QWidget *child)
{
    // Let go of the window held so far; one that left the bar meanwhile
    // (given back to its owner) is not touched.
    if (m_adopted) {
        QWidget *held = WidgetOf(m_adopted);
        if (held && held->parentWidget() == m_bar)
            held->hide();
        m_adopted = 0;
    }
    m_child = child;
    if (child) {
        const QVariant named = child->property("hWnd");
        HWND window = named.isValid() ? static_cast<HWND>(named.toInt()) : 0;
        if (!IsWindow(window))
            window = HandleOf(child);
        if (GetParent(window) != m_bar->hWnd())
            SetParent(window, m_bar->hWnd());
        m_adopted = window;
        if (QWidget *held = WidgetOf(window)) {
            held->show();
            held->raise();
        }
    }
    m_bar->placeChildren();
    m_bar->update();
}

void CoolBarBand::setMinHeight(float height)
{
    m_minHeight = std::max(0.0f, height);
    m_bar->Refresh();
}

void CoolBarBand::setWidth(float width)
{
    m_width = std::max(0.0f, width);
    m_bar->Refresh();
}

void CoolBarBand::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_bar->update();
}

CoolBarBand *CoolBarBands::Item(const QString &key) const
{
    for (const auto &band : m_bands) {
        if (band->Key() == key)
            return band.get();
    }
    return nullptr;
}

CoolBarBand &CoolBarBands::Add(const QString &key, float minHeight, float width)
{
    std::shared_ptr<CoolBarBand> band(new CoolBarBand(m_bar, Count() + 1, key));
    band->m_minHeight = std::max(0.0f, minHeight);
    band->m_width = std::max(0.0f, width);
    m_bands.append(band);
    m_bar->Refresh();
    return *band;
}

// ---- the bar ---------------------------------------------------------------

CoolBar::CoolBar(QWidget *parent)
    : QWidget(parent), m_bands(this)
{
    m_hWnd = HandleOf(this, "CoolBar");
}

CoolBar::~CoolBar() = default;

void CoolBar::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void CoolBar::setOrientation(int orientation)
{
    m_orientation = orientation;
    Refresh();
}

int CoolBar::thickness() const
{
    int widest = 0;
    for (const auto &band : m_bands)
        widest = std::max(widest, static_cast<int>(std::ceil(band->MinHeight())));
    return widest;
}

QSize CoolBar::sizeHint() const
{
    const bool vertical = m_orientation != 0;
    int length = 2 * Border;
    for (const auto &band : m_bands)
        length += std::max(Grip, static_cast<int>(std::lround(band->Width())));
    const int across = thickness() + 2 * Border;
    return vertical ? QSize(across, length) : QSize(length, across);
}

QRect CoolBar::bandRect(int index) const
{
    const bool vertical = m_orientation != 0;
    const int total = (vertical ? height() : width()) - Border;
    int along = Border;
    for (int i = 1; i <= m_bands.Count(); ++i) {
        const auto &band = *m_bands.m_bands.at(i - 1);
        int length = std::max(Grip, static_cast<int>(std::lround(band.Width())));
        if (i == m_bands.Count())
            length = std::max(length, total - along); // the last band fills the bar
        if (i == index)
            return oriented(vertical, along, Border, length, thickness());
        along += length;
    }
    return QRect();
}

QRect CoolBar::childRect(int index) const
{
    const bool vertical = m_orientation != 0;
    const QRect band = bandRect(index);
    if (band.isNull())
        return QRect();
    const auto &b = *m_bands.m_bands.at(index - 1);
    const int size = static_cast<int>(std::ceil(b.MinHeight()));
    const int along = (vertical ? band.top() : band.left()) + Grip;
    const int length = (vertical ? band.height() : band.width()) - Grip - 2;
    const int across = Border + (thickness() - size) / 2;
    return oriented(vertical, along, across, std::max(0, length), size);
}

void CoolBar::Refresh()
{
    const QSize hint = sizeHint();
    if (m_orientation != 0) {
        if (width() != hint.width())
            resize(hint.width(), height());
    } else if (height() != hint.height()) {
        resize(width(), hint.height());
    }
    placeChildren();
    update();
}

void CoolBar::placeChildren()
{
    for (int i = 1; i <= m_bands.Count(); ++i) {
        const CoolBarBand &band = *m_bands.m_bands.at(i - 1);
        QWidget *held = WidgetOf(band.adoptedWindow());
        if (held && held->parentWidget() == this)
            held->setGeometry(childRect(i));
    }
}

void CoolBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeChildren();
}

void CoolBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_picture.isNull())
        painter.fillRect(rect(), buttonFace);
    else
        painter.drawTiledPixmap(rect(), QPixmap::fromImage(m_picture));

    const bool vertical = m_orientation != 0;
    for (int i = 1; i <= m_bands.Count(); ++i) {
        const CoolBarBand &band = *m_bands.m_bands.at(i - 1);
        const QRect r = bandRect(i);
        if (!band.Picture().isNull())
            painter.drawTiledPixmap(r, QPixmap::fromImage(band.Picture()));
        const int from = (vertical ? r.left() : r.top()) + 2;
        const int to = (vertical ? r.right() : r.bottom()) - 2;
        const int head = vertical ? r.top() : r.left();
        // The grip: two ridges at the head of the band.
        etch(painter, vertical, head + 3, from, to);
        etch(painter, vertical, head + 6, from, to);
        if (i > 1)
            etch(painter, vertical, head - 2, from - 2, to + 2);
    }
    // The bar's own edge.
    painter.setPen(shadow);
    painter.drawLine(0, height() - 2, width() - 1, height() - 2);
    painter.setPen(highlight);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}
