#include "runtime/image.h"

#include "runtime/buttonface.h"

#include <QPainter>

Image::Image(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

void Image::setPicture(const QImage &picture)
{
    m_picture = picture;
    if (!m_stretch && !picture.isNull())
        resize(picture.size());
    update();
}

void Image::setPictureFile(const QString &path)
{
    m_pictureFile = path;
    setPicture(LoadPicture(path));
}

void Image::setStretch(bool stretch)
{
    m_stretch = stretch;
    if (!stretch && !m_picture.isNull())
        resize(m_picture.size());
    update();
}

void Image::CopyFrom(const Image &other)
{
    m_stretch = other.m_stretch;
    m_pictureFile = other.m_pictureFile;
    setPicture(other.m_picture);
}

void Image::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    if (m_stretch) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_picture);
    } else {
        painter.drawImage(0, 0, m_picture);
    }
}

// The image answers its own mouse events, so they do not reach the form.
bool Image::event(QEvent *event)
{
    return EmitMouseSignals(*this, m_mouse, event) || QWidget::event(event);
}
