#include "runtime/buttonface.h"

#include <QAbstractButton>
#include <QImageReader>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

QColor ColorOf(COLORREF c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QImage LoadPicture(const QString &path)
{
    if (path.isEmpty())
        return QImage();
    QImageReader reader(path);
    // Of an icon file, the largest image.
    QImage best;
    do {
        const QImage image = reader.read();
        if (!image.isNull() && image.width() * image.height() > best.width() * best.height())
            best = image;
    } while (reader.jumpToNextImage());
    return best;
}

void PaintButtonFace(QAbstractButton &button, COLORREF backColor, const QImage &picture, bool sunken)
{
    QPainter painter(&button);
    const QRect r = button.rect();
    painter.fillRect(r, ColorOf(backColor));

    // The edge: light above and left, dark below and right; turned round
    // while sunken.
    const QColor light(255, 255, 255), mid(128, 128, 128), dark(64, 64, 64);
    const QColor topLeft = sunken ? dark : light;
    const QColor bottomRight = sunken ? light : dark;
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
    painter.setPen(bottomRight);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
    painter.setPen(sunken ? mid.darker(120) : mid);
    if (sunken) {
        painter.drawLine(r.left() + 1, r.top() + 1, r.right() - 2, r.top() + 1);
        painter.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 2);
    } else {
        painter.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
        painter.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
    }

    const int shift = sunken ? 1 : 0;
    const QRect inner = r.adjusted(2 + shift, 2 + shift, -2 + shift, -2 + shift);
    const QString text = button.text();
    const QFontMetrics fm(button.font());
    const int textHeight = text.isEmpty() ? 0 : fm.height();

    if (!picture.isNull()) {
        QImage shown = picture;
        const int room = inner.height() - textHeight;
        if (shown.width() > inner.width() || shown.height() > room)
            shown = shown.scaled(inner.width(), std::max(1, room), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const int x = inner.left() + (inner.width() - shown.width()) / 2;
        const int y = inner.top() + (room - shown.height()) / 2;
        painter.drawImage(x, y, shown);
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
        painter.setPen(button.isEnabled() ? button.palette().color(QPalette::ButtonText) : QColor(128, 128, 128));
        painter.setFont(button.font());
        painter.drawText(textRect, flags, text);
    }
    if (button.hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(&button);
        focus.rect = r.adjusted(4, 4, -4, -4);
        button.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, &button);
    }
}
