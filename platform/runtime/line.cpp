#include "runtime/line.h"

#include "runtime/buttonface.h"
#include "runtime/control.h"

#include <QPainter>

#include <algorithm>

Line::Line(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    place();
}

void Line::setX1(int v) { m_x1 = v; place(); }
void Line::setY1(int v) { m_y1 = v; place(); }
void Line::setX2(int v) { m_x2 = v; place(); }
void Line::setY2(int v) { m_y2 = v; place(); }
void Line::setBorderWidth(int v) { m_width = std::max(1, v); place(); }
void Line::setBorderColor(COLORREF color) { m_color = color; update(); }

void Line::CopyFrom(const Line &other)
{
    m_x1 = other.m_x1; m_y1 = other.m_y1; m_x2 = other.m_x2; m_y2 = other.m_y2;
    m_width = other.m_width;
    m_color = other.m_color;
    place();
}

// The widget covers the line's bounding box, widened by the pen.
void Line::place()
{
    const int o = ClientOriginOf(parentWidget());
    const int pad = m_width;
    const int left = std::min(m_x1, m_x2) - pad, top = std::min(m_y1, m_y2) - pad;
    setGeometry(left + o, top + o, std::abs(m_x2 - m_x1) + 2 * pad + 1, std::abs(m_y2 - m_y1) + 2 * pad + 1);
    update();
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int o = ClientOriginOf(parentWidget());
    const QPoint origin = pos() - QPoint(o, o);
    QPen pen(ColorOf(m_color), m_width);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(m_x1, m_y1) - origin + QPointF(0.5, 0.5), QPointF(m_x2, m_y2) - origin + QPointF(0.5, 0.5));
}
