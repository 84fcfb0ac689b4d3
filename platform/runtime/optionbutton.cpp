#include "runtime/optionbutton.h"

#include "runtime/buttonface.h"

OptionButton::OptionButton(QWidget *parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    setDefault(false);
    setCheckable(true);
    // One group per container: the option buttons that share a parent.
    setAutoExclusive(true);
    setMouseTracking(true);
    connect(this, &QPushButton::clicked, this, [this] {
        if (isChecked())
            emit Click();
    });
}

void OptionButton::setValue(bool value)
{
    if (value) {
        setChecked(true);
        emit Click();
        return;
    }
    // An exclusive button cannot be cleared directly.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}

void OptionButton::setStyle(int style) { m_style = style; update(); }
void OptionButton::setBackColor(COLORREF color) { m_backColor = color; update(); }
void OptionButton::setPicture(const QImage &picture) { m_picture = picture; update(); }

void OptionButton::setPictureFile(const QString &path)
{
    m_pictureFile = path;
    setPicture(LoadPicture(path));
}

void OptionButton::CopyFrom(const OptionButton &other)
{
    m_style = other.m_style;
    m_backColor = other.m_backColor;
    m_picture = other.m_picture;
    m_pictureFile = other.m_pictureFile;
    setText(other.text());
}

void OptionButton::paintEvent(QPaintEvent *event)
{
    if (m_style != vbButtonGraphical) {
        QPushButton::paintEvent(event);
        return;
    }
    PaintButtonFace(*this, m_backColor, m_picture, isDown() || isChecked());
}
