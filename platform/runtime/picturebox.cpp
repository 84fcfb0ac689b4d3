#include "runtime/picturebox.h"

#include "runtime/buttonface.h"
#include <QBackingStore>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr int kBorder = 1;

} // namespace

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The controls inside lie in the drawing area, inside the border.
    setProperty("ClientOrigin", kBorder);
}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    Cls();
}

void PictureBox::setPictureFile(const QString &path)
{
    m_pictureFile = path;
    setPicture(LoadPicture(path));
}

void PictureBox::setWidth(int w)
{
    resize(w, height());
}

void PictureBox::setHeight(int h)
{
    resize(width(), h);
}

QSize PictureBox::drawingArea() const
{
    return QSize(std::max(0, width() - 2 * kBorder), std::max(0, height() - 2 * kBorder));
}

QImage &PictureBox::image() const
{
    const QSize area = drawingArea();
    if (m_image.size() == area)
        return m_image;
    // What was drawn stays where it was; new room shows the background
    // colour and picture (a layout sets the picture before the box has
    // taken its size).
    const QImage::Format format = m_image.isNull() ? QImage::Format_RGB32 : m_image.format();
    QImage resized(area, format);
    resized.fill(ColorOf(m_backColor));
    if (!area.isEmpty()) {
        QPainter painter(&resized);
        if (!m_picture.isNull())
            painter.drawImage(0, 0, m_picture);
        if (!m_image.isNull())
            painter.drawImage(0, 0, m_image);
    }
    m_image = resized;
    return m_image;
}

const QImage &PictureBox::Image() const
{
    return image();
}

void PictureBox::setBackColor(COLORREF color)
{
    m_backColor = color & 0x00FFFFFF;
    Cls();
}

void PictureBox::setDrawWidth(int width)
{
    m_drawWidth = std::max(1, width);
}

void PictureBox::Cls()
{
    const QSize area = drawingArea();
    const QImage::Format format = m_image.isNull() ? QImage::Format_RGB32 : m_image.format();
    if (m_picture.size() == area && m_picture.format() == format) {
        // The picture is all there is to see: share it (a drawing copies it).
        m_image = m_picture;
    } else {
        if (m_image.size() != area || m_image.format() != format || !m_image.isDetached())
            m_image = QImage(area, format);
        m_image.fill(ColorOf(m_backColor));
        if (!m_picture.isNull() && !area.isEmpty()) {
            QPainter painter(&m_image);
            painter.drawImage(0, 0, m_picture);
        }
    }
    update();
}

void PictureBox::Line(float x1, float y1, float x2, float y2, COLORREF color, LineKind kind)
{
    if (image().isNull())
        return;
    const QColor qcolor = ColorOf(color);
    QPainter painter(&m_image);
    if (kind != LineKind::Line) {
        // Both corners belong to the box.
        const int left = static_cast<int>(std::lround(std::min(x1, x2)));
        const int top = static_cast<int>(std::lround(std::min(y1, y2)));
        const int right = static_cast<int>(std::lround(std::max(x1, x2)));
        const int bottom = static_cast<int>(std::lround(std::max(y1, y2)));
        if (kind == LineKind::BF) {
            painter.fillRect(QRect(QPoint(left, top), QPoint(right, bottom)), qcolor);
        } else {
            for (int i = 0; i < m_drawWidth; ++i) {
                painter.fillRect(QRect(QPoint(left, top + i), QPoint(right, top + i)), qcolor);
                painter.fillRect(QRect(QPoint(left, bottom - i), QPoint(right, bottom - i)), qcolor);
                painter.fillRect(QRect(QPoint(left + i, top), QPoint(left + i, bottom)), qcolor);
                painter.fillRect(QRect(QPoint(right - i, top), QPoint(right - i, bottom)), qcolor);
            }
        }
    } else {
        QPen pen(qcolor);
        pen.setWidth(m_drawWidth);
        // A flat cap leaves out the last point, as the platform's lines do.
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    update();
}

const QImage &PictureBox::scaledPicture(const QImage &picture, int width, int height)
{
    const QString key = QStringLiteral("%1/%2x%3").arg(picture.cacheKey()).arg(width).arg(height);
    auto found = m_scaled.constFind(key);
    if (found != m_scaled.constEnd())
        return *found;
    if (m_scaled.size() > 64)
        m_scaled.clear();
    QImage scaled = picture.convertToFormat(m_image.format())
                        .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return *m_scaled.insert(key, scaled);
}

void PictureBox::PaintPicture(const QImage &picture, float x, float y, float width, float height)
{
    if (image().isNull() || picture.isNull())
        return;
    const int w = static_cast<int>(std::lround(width));
    const int h = static_cast<int>(std::lround(height));
    if (w <= 0 || h <= 0)
        return;
    QPainter painter(&m_image);
    painter.drawImage(QPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))),
                      scaledPicture(picture, w, h));
    update();
}

void PictureBox::Refresh()
{
    if (isVisible())
        repaint();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    adoptBackingStoreFormat();
    const QImage &shown = image();
    const QRect inside(QPoint(kBorder, kBorder), drawingArea());
    QPainter painter(this);
    // Rectangle by rectangle of what is exposed: clipped to one rectangle,
    // an image of the target's format is copied row by row; clipped to a
    // region (the children left out) it would be blended, on Qt's worker
    // threads when it is large.
    for (const QRect &exposed : event->region()) {
        painter.setClipRect(exposed);
        if (!inside.contains(exposed)) {
            painter.setPen(Qt::black);
            painter.drawRect(0, 0, width() - 1, height() - 1);
        }
        const QRect area = exposed & inside;
        if (!area.isEmpty())
            painter.drawImage(area.topLeft(), shown, area.translated(-kBorder, -kBorder));
    }
}

void PictureBox::adoptBackingStoreFormat()
{
    QBackingStore *store = backingStore();
    QPaintDevice *device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return;
    const QImage::Format format = static_cast<QImage *>(device)->format();
    if (format == m_image.format() || m_image.isNull())
        return;
    // Only formats that keep every colour as it is: the image is what
    // was drawn, and tests and callers read its pixels.
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_ARGB32)
        return;
    m_image.convertTo(format);
    if (!m_picture.isNull())
        m_picture.convertTo(format);
    m_scaled.clear();
}

// Positions are pixels of the drawing area, inside the border.
bool PictureBox::event(QEvent *event)
{
    return EmitMouseSignals(*this, m_mouse, event, QPoint(kBorder, kBorder)) || QWidget::event(event);
}
