#include "runtime/checkbox.h"

#include "runtime/buttonface.h"

CheckBox::CheckBox(QWidget *parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    setDefault(false);
    setCheckable(true);
    setMouseTracking(true);
    connect(this, &QPushButton::toggled, this, &CheckBox::Click);
}

void CheckBox::setValue(int value) { setChecked(value != vbUnchecked); }
void CheckBox::setStyle(int style) { m_style = style; update(); }
void CheckBox::setBackColor(COLORREF color) { m_backColor = color; update(); }
void CheckBox::setPicture(const QImage &picture) { m_picture = picture; update(); }
void CheckBox::setDownPicture(const QImage &picture) { m_downPicture = picture; update(); }

void CheckBox::setPictureFile(const QString &path)
{
    m_pictureFile = path;
    setPicture(LoadPicture(path));
}

void CheckBox::setDownPictureFile(const QString &path)
{
    m_downPictureFile = path;
    setDownPicture(LoadPicture(path));
}

void CheckBox::CopyFrom(const CheckBox &other)
{
    m_style = other.m_style;
    m_backColor = other.m_backColor;
    m_picture = other.m_picture;
    m_downPicture = other.m_downPicture;
    m_pictureFile = other.m_pictureFile;
    m_downPictureFile = other.m_downPictureFile;
    setText(other.text());
}

void CheckBox::paintEvent(QPaintEvent *event)
{
    if (m_style != vbButtonGraphical) {
        QPushButton::paintEvent(event);
        return;
    }
    const bool checked = isChecked();
    const QImage &picture = checked && !m_downPicture.isNull() ? m_downPicture : m_picture;
    PaintButtonFace(*this, m_backColor, picture, isDown() || checked);
}
