#include "runtime/buttonface.h"

#include <QAbstractButton>
#include <QImageReader>
#include <QPainter>

QColor ColorOf(COLORREF c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QImage LoadPicture(const QString &path)
{
    if (path.isEmpty())
        return QImage();
    QImageReader reader(path);
    QImage best;
    do {
        const QImage image = reader.read();
        if (!image.isNull() && image.width() * image.height() > best.width() * best.height())
            best = image;
    } while (reader.jumpToNextImage());
    return best;
}

namespace {

// The edge's greys, as the platform's three-dimensional elements had them.
const QColor kHighlight(255, 255, 255);
const QColor kShadow(128, 128, 128);
const QColor kDarkShadow(64, 64, 64);

void drawFrame(QPainter &painter, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
    painter.setPen(bottomRight);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

// A picture as a disabled button shows it: grey, lightened toward the face.
QImage greyed(const QImage &picture)
{
    QImage grey = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    return grey;
}

} // namespace

void PaintButtonFace(QAbstractButton &button, COLORREF backColor, const QImage &picture, bool sunken, bool selected)
{
    QPainter painter(&button);
    const QRect r = button.rect();
    // A button that stays down is seen to at a glance: its face darkens.
    const QColor face = selected ? ColorOf(backColor).darker(125) : ColorOf(backColor);
    painter.fillRect(r, face);
    if (sunken) {
        drawFrame(painter, r, kShadow, kHighlight);
        drawFrame(painter, r.adjusted(1, 1, -1, -1), kDarkShadow, face.lighter(112));
    } else {
        drawFrame(painter, r, kHighlight, kDarkShadow);
        drawFrame(painter, r.adjusted(1, 1, -1, -1), face.lighter(112), kShadow);
    }

    // Pressed, the content moves one pixel down and right.
    const int shift = sunken ? 1 : 0;
    const QRect inner = r.adjusted(2 + shift, 2 + shift, -2 + shift, -2 + shift);
    const QString text = button.text();
    const QFontMetrics fm(button.font());
    const int textHeight = text.isEmpty() ? 0 : fm.height();
    const bool enabled = button.isEnabled();

    painter.save();
    painter.setClipRect(inner);
    if (!picture.isNull()) {
        const QImage shown = enabled ? picture : greyed(picture);
        const int room = inner.height() - textHeight;
        painter.drawImage(inner.left() + (inner.width() - shown.width()) / 2,
                          inner.top() + (room - shown.height()) / 2, shown);
    }
    if (!text.isEmpty()) {
        QRect textRect = inner;
        int flags = Qt::AlignHCenter | Qt::TextShowMnemonic;
        if (picture.isNull()) {
            flags |= Qt::AlignVCenter;
        } else {
            textRect.setTop(inner.bottom() - textHeight + 1);
            flags |= Qt::AlignBottom;
        }
        painter.setFont(button.font());
        if (enabled) {
            painter.setPen(button.palette().color(QPalette::Active, QPalette::ButtonText));
        } else {
            painter.setPen(kHighlight);
            painter.drawText(textRect.translated(1, 1), flags, text);
            painter.setPen(kShadow);
        }
        painter.drawText(textRect, flags, text);
    }
    painter.restore();

    if (button.hasFocus()) {
        QPen dotted(Qt::black, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(r.adjusted(3 + shift, 3 + shift, -4 + shift, -4 + shift));
    }
}
