#pragma once
// The runtime's image control: a picture, transparent where the picture is
// (icons and GIFs keep their transparency). With Stretch the picture is
// scaled to the control; without it the control takes the picture's own
// size whenever a picture is set.
#include "runtime/control.h"
#include "runtime/inputcodes.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>

class Image : public QWidget, public Control<Image> {
    Q_OBJECT
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)
    Q_PROPERTY(QString PictureFile READ PictureFile WRITE setPictureFile)

public:
    explicit Image(QWidget *parent = nullptr);

    QImage Picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    QString PictureFile() const { return m_pictureFile; }
    void setPictureFile(const QString &path);
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);

    void CopyFrom(const Image &other);

signals:
    void Click();
    void MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QImage m_picture;
    QString m_pictureFile;
    bool m_stretch = false;
    MouseInput m_mouse;
};
