#include "runtime/checkbox.h"

#include "runtime/buttonface.h"

CheckBox::CheckBox(QWidget *parent)
    : GraphicalButton(parent)
{
    setCheckable(true);
    connect(this, &QPushButton::toggled, this, &GraphicalButton::Click);
}

void CheckBox::setValue(int value) { setChecked(value != vbUnchecked); }
void CheckBox::setDownPicture(const QImage &picture) { m_downPicture = picture; update(); }

void CheckBox::setDownPictureFile(const QString &path)
{
    m_downPictureFile = path;
    setDownPicture(LoadPicture(path));
}

void CheckBox::CopyFrom(const CheckBox &other)
{
    CopyButtonFrom(other);
    m_downPicture = other.m_downPicture;
    m_downPictureFile = other.m_downPictureFile;
}

QImage CheckBox::shownPicture() const
{
    return isChecked() && !m_downPicture.isNull() ? m_downPicture : Picture();
}
