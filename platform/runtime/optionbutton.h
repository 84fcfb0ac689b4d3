#pragma once
// The runtime's option button: one of a group, the option buttons of one
// container; selecting one clears the others. Click is raised whenever it
// becomes selected: by the user, and also when the program sets Value to
// True (even when it was selected already). In the graphical style it looks
// like a command button that stays pressed while selected, with its
// Picture above the caption.
#include "base/wintypes.h"
#include "runtime/commandbutton.h"
#include "runtime/control.h"

#include <QImage>
#include <QPushButton>
#include <QString>

class OptionButton : public QPushButton, public Control<OptionButton> {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int Style READ Style WRITE setStyle)
    Q_PROPERTY(int BackColor READ BackColorInt WRITE setBackColorInt)
    Q_PROPERTY(QString PictureFile READ PictureFile WRITE setPictureFile)
    Q_PROPERTY(bool Value READ Value WRITE setValue)

public:
    explicit OptionButton(QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    bool Value() const { return isChecked(); }
    void setValue(bool value);
    int Style() const { return m_style; }
    void setStyle(int style);
    COLORREF BackColor() const { return m_backColor; }
    void setBackColor(COLORREF color);
    QImage Picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    QString PictureFile() const { return m_pictureFile; }
    void setPictureFile(const QString &path);

    void CopyFrom(const OptionButton &other);

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int BackColorInt() const { return static_cast<int>(m_backColor); }
    void setBackColorInt(int c) { setBackColor(static_cast<COLORREF>(c)); }

    int m_style = vbButtonStandard;
    COLORREF m_backColor = 0x00F0F0F0;
    QImage m_picture;
    QString m_pictureFile;
};
