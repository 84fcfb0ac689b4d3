#pragma once
// The runtime's check box, Value vbUnchecked (0) or vbChecked (1). Click is
// raised whenever Value changes, by the user or by the program. In the
// graphical style it looks like a command button that stays pressed while
// checked, showing Picture while unchecked and DownPicture while checked.
#include "base/wintypes.h"
#include "runtime/commandbutton.h"
#include "runtime/control.h"

#include <QImage>
#include <QPushButton>
#include <QString>

#include <cstdint>

enum CheckBoxConstants : std::int16_t { vbUnchecked = 0, vbChecked = 1 };

class CheckBox : public QPushButton, public Control<CheckBox> {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int Style READ Style WRITE setStyle)
    Q_PROPERTY(int BackColor READ BackColorInt WRITE setBackColorInt)
    Q_PROPERTY(QString PictureFile READ PictureFile WRITE setPictureFile)
    Q_PROPERTY(QString DownPictureFile READ DownPictureFile WRITE setDownPictureFile)
    Q_PROPERTY(int Value READ Value WRITE setValue)

public:
    explicit CheckBox(QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    // 0 or 1; any other value counts as checked.
    std::int16_t Value() const { return isChecked() ? vbChecked : vbUnchecked; }
    void setValue(int value);
    int Style() const { return m_style; }
    void setStyle(int style);
    COLORREF BackColor() const { return m_backColor; }
    void setBackColor(COLORREF color);
    QImage Picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    QImage DownPicture() const { return m_downPicture; }
    void setDownPicture(const QImage &picture);
    QString PictureFile() const { return m_pictureFile; }
    void setPictureFile(const QString &path);
    QString DownPictureFile() const { return m_downPictureFile; }
    void setDownPictureFile(const QString &path);

    void CopyFrom(const CheckBox &other);

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int BackColorInt() const { return static_cast<int>(m_backColor); }
    void setBackColorInt(int c) { setBackColor(static_cast<COLORREF>(c)); }

    int m_style = vbButtonStandard;
    COLORREF m_backColor = 0x00F0F0F0;
    QImage m_picture, m_downPicture;
    QString m_pictureFile, m_downPictureFile;
};
