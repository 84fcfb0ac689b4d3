#pragma once
// The runtime's command button. Its caption takes a mnemonic from "&"
// (Alt and the letter press it). In the graphical style it is drawn the
// way the game's dialogs draw their buttons: a face of its own BackColor
// with a raised edge (sunken while pressed), its Picture centred above the
// caption. It is never a default or cancel button: Enter and Esc do not
// press it.
#include "base/wintypes.h"
#include "runtime/control.h"

#include <QImage>
#include <QPushButton>
#include <QString>

#include <cstdint>

enum ButtonStyleConstants : std::int16_t { vbButtonStandard = 0, vbButtonGraphical = 1 };

class CommandButton : public QPushButton, public Control<CommandButton> {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int Style READ Style WRITE setStyle)
    Q_PROPERTY(int BackColor READ BackColorInt WRITE setBackColorInt)
    Q_PROPERTY(QString PictureFile READ PictureFile WRITE setPictureFile)

public:
    explicit CommandButton(QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    int Style() const { return m_style; }
    void setStyle(int style);
    COLORREF BackColor() const { return m_backColor; }
    void setBackColor(COLORREF color);
    QImage Picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    // The picture from a resource path, for the layout.
    QString PictureFile() const { return m_pictureFile; }
    void setPictureFile(const QString &path);

    void CopyFrom(const CommandButton &other);

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
