#pragma once
// What the command button, the option button and the check box share: a
// push button that is never a default or cancel button (Enter and Esc press
// none), whose caption takes a mnemonic from "&" (Alt and the letter press
// it), and which in the graphical style is drawn the way the game's dialogs
// draw their buttons (buttonface.h). Every mouse event over it stays with
// it: none reaches its container or the form.
#include "base/wintypes.h"

#include <QImage>
#include <QPushButton>
#include <QString>

#include <cstdint>

enum ButtonStyleConstants : std::int16_t { vbButtonStandard = 0, vbButtonGraphical = 1 };

class GraphicalButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int Style READ Style WRITE setStyle)
    Q_PROPERTY(int BackColor READ BackColorInt WRITE setBackColorInt)
    Q_PROPERTY(QString PictureFile READ PictureFile WRITE setPictureFile)

public:
    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    // vbButtonStandard (the default) or vbButtonGraphical.
    int Style() const { return m_style; }
    void setStyle(int style);
    COLORREF BackColor() const { return m_backColor; }
    void setBackColor(COLORREF color);
    QImage Picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    // The picture from a resource path, for the layout.
    QString PictureFile() const { return m_pictureFile; }
    void setPictureFile(const QString &path);

signals:
    void Click();

protected:
    explicit GraphicalButton(QWidget *parent);
    // Copies what every button has, for a control array's new element.
    void CopyButtonFrom(const GraphicalButton &other);
    // The picture of the present state.
    virtual QImage shownPicture() const { return m_picture; }

    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    int BackColorInt() const { return static_cast<int>(m_backColor); }
    void setBackColorInt(int c) { setBackColor(static_cast<COLORREF>(c)); }

    int m_style = vbButtonStandard;
    COLORREF m_backColor = 0x00F0F0F0;
    QImage m_picture;
    QString m_pictureFile;
};
