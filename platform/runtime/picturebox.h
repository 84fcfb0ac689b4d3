#pragma once
// The runtime's picture box. Width and Height are the outer size in pixels,
// with a one-pixel flat border, so the drawing area is two pixels smaller
// each way. Everything drawn goes into a persistent image of the drawing
// area, which stays until Cls and from which the box repaints itself.
// Coordinates are pixels of the drawing area, (0, 0) at its top left;
// colours are COLORREF values (0x00BBGGRR).
//
// A picture box is also a container: the controls inside it are placed in
// pixels of its drawing area (inside the border); the runtime shifts the
// layout's positions accordingly when a form loads. Its Picture is a
// background drawn from the drawing area's top left corner, unscaled and
// clipped; drawing goes over it and Cls returns to it.
//
// The persistent image is sized when it is next used, so a change of
// width and then of height makes one image, not two; a picture of exactly
// the drawing area's size is shared with it until something is drawn. Once
// shown, the image takes the format of the window's backing store, so that
// a repaint copies pixels instead of converting them.
#include "base/wintypes.h"
#include "runtime/control.h"
#include "runtime/inputcodes.h"

#include <QHash>
#include <QImage>
#include <QWidget>

class PictureBox : public QWidget, public Control<PictureBox> {
    Q_OBJECT
    Q_PROPERTY(int BackColor READ BackColorInt WRITE setBackColorInt)
    Q_PROPERTY(QString PictureFile READ PictureFile WRITE setPictureFile)
public:
    // What Line draws: a line, an outlined box (B) or a filled box (BF).
    enum class LineKind { Line, B, BF };

    // Mouse buttons and shift keys as the runtime reports them.
    using enum MouseButtonConstants;
    using enum ShiftConstants;

    explicit PictureBox(QWidget *parent = nullptr);

    int Width() const { return width(); }
    void setWidth(int w);
    int Height() const { return height(); }
    void setHeight(int h);
    // The drawing area's size.
    int ScaleWidth() const { return drawingArea().width(); }
    int ScaleHeight() const { return drawingArea().height(); }

    COLORREF BackColor() const { return m_backColor; }
    // Like the runtime's, a new background colour also clears the box.
    void setBackColor(COLORREF color);
    int DrawWidth() const { return m_drawWidth; }
    void setDrawWidth(int width);
    bool Enabled() const { return isEnabled(); }
    void setEnabled(bool enabled) { QWidget::setEnabled(enabled); }

    // The background picture, and the same from a resource path for the
    // layout.
    QImage Picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    QString PictureFile() const { return m_pictureFile; }
    void setPictureFile(const QString &path);

    // Erases everything drawn, back to the background colour and picture.
    void Cls();
    // A line from (x1, y1) to (x2, y2), its last point not drawn; a box (B,
    // BF) includes both corners. Anything outside the drawing area is clipped.
    void Line(float x1, float y1, float x2, float y2, COLORREF color, LineKind kind = LineKind::Line);
    // The whole picture, scaled into the rectangle, over what was there.
    void PaintPicture(const QImage &picture, float x, float y, float width, float height);
    // Shows at once what has been drawn so far.
    void Refresh();

    // What has been drawn: the persistent image of the drawing area.
    const QImage &Image() const;

signals:
    void Click();
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    int BackColorInt() const { return static_cast<int>(m_backColor); }
    void setBackColorInt(int c) { setBackColor(static_cast<COLORREF>(c)); }
    QSize drawingArea() const;
    // Converts the image to the format of the window's backing store.
    void adoptBackingStoreFormat();
    // The persistent image at the drawing area's current size.
    QImage &image() const;
    const QImage &scaledPicture(const QImage &picture, int width, int height);

    mutable QImage m_image;
    COLORREF m_backColor = 0x00FFFFFF;
    int m_drawWidth = 1;
    QImage m_picture;
    QString m_pictureFile;
    MouseInput m_mouse;
    // Scaled cell pictures are drawn hundreds of times in one size.
    QHash<QString, QImage> m_scaled;
};
