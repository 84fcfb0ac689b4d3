#include "comctl/imagelist.h"

#include <QColor>
#include <QHash>
#include <QPainter>

namespace {

QHash<HIMAGELIST, ImageList *> &lists()
{
    static QHash<HIMAGELIST, ImageList *> table;
    return table;
}

HIMAGELIST nextHandle()
{
    static HIMAGELIST last = 0;
    return ++last; // never reused within a run
}

} // namespace

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk)
{
    ImageList *list = lists().value(himl, nullptr);
    if (!list)
        return CLR_NONE;
    const COLORREF previous = list->BackColor();
    list->setBackColor(clrBk);
    return previous;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl)
{
    ImageList *list = lists().value(himl, nullptr);
    return list ? list->BackColor() : CLR_NONE;
}

ImageList::ImageList(QObject *parent)
    : QObject(parent), m_handle(nextHandle())
{
    lists().insert(m_handle, this);
}

ImageList::~ImageList()
{
    lists().remove(m_handle);
}

void ImageList::setImageSize(int width, int height)
{
    m_width = qMax(0, width);
    m_height = qMax(0, height);
    emit Changed();
}

int ImageList::Add(const QImage &picture)
{
    if (m_images.isEmpty() && (m_width == 0 || m_height == 0)) {
        m_width = picture.width();
        m_height = picture.height();
    }
    m_images.append(picture);
    emit Changed();
    return Count();
}

void ImageList::Clear()
{
    m_images.clear();
    emit Changed();
}

void ImageList::setBackColor(COLORREF colour)
{
    if (colour == m_backColor)
        return;
    m_backColor = colour;
    emit Changed();
}

QPixmap ImageList::Picture(int index) const
{
    if (index < 1 || index > Count() || m_width <= 0 || m_height <= 0)
        return QPixmap();
    QImage canvas(m_width, m_height, QImage::Format_ARGB32_Premultiplied);
    if (m_backColor == CLR_NONE)
        canvas.fill(Qt::transparent);
    else
        canvas.fill(QColor(m_backColor & 0xFF, (m_backColor >> 8) & 0xFF, (m_backColor >> 16) & 0xFF));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, m_width, m_height), m_images.at(index - 1));
    painter.end();
    return QPixmap::fromImage(canvas);
}
