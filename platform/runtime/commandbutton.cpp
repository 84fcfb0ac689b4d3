#include "runtime/commandbutton.h"

#include "runtime/buttonface.h"

CommandButton::CommandButton(QWidget *parent)
    : QPushButton(parent)
{
    // Enter and Esc never press a button of their own accord.
    setAutoDefault(false);
    setDefault(false);
    setMouseTracking(true);
    connect(this, &QPushButton::clicked, this, &CommandButton::Click);
}

void CommandButton::setStyle(int style) { m_style = style; update(); }
void CommandButton::setBackColor(COLORREF color) { m_backColor = color; update(); }
void CommandButton::setPicture(const QImage &picture) { m_picture = picture; update(); }

void CommandButton::setPictureFile(const QString &path)
{
    m_pictureFile = path;
    setPicture(LoadPicture(path));
}

void CommandButton::CopyFrom(const CommandButton &other)
{
    m_style = other.m_style;
    m_backColor = other.m_backColor;
    m_picture = other.m_picture;
    m_pictureFile = other.m_pictureFile;
    setText(other.text());
}

void CommandButton::paintEvent(QPaintEvent *event)
{
    if (m_style != vbButtonGraphical) {
        QPushButton::paintEvent(event);
        return;
    }
    PaintButtonFace(*this, m_backColor, m_picture, isDown());
}
