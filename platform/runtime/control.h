#pragma once
// What every control of the runtime offers besides its own properties:
// its measures in the container's pixels (the outer measures), visibility,
// tooltip, index in a control array, and a custom mouse pointer. Controls
// follow the mouse (MouseMove also arrives with no button held).
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>

// The offset of a container's client area inside the widget: a picture
// box's drawing area lies inside its 1-pixel border. Containers name it in
// their property "ClientOrigin".
inline int ClientOriginOf(const QWidget *container)
{
    return container ? container->property("ClientOrigin").toInt() : 0;
}

template <class Self>
class Control {
public:
    int Left() const { return self().x() - origin(); }
    void setLeft(int v) { self().move(v + origin(), self().y()); }
    int Top() const { return self().y() - origin(); }
    void setTop(int v) { self().move(self().x(), v + origin()); }
    int Width() const { return self().width(); }
    void setWidth(int v) { self().resize(v, self().height()); }
    int Height() const { return self().height(); }
    void setHeight(int v) { self().resize(self().width(), v); }
    void Move(int left, int top, int width, int height) { self().setGeometry(left + origin(), top + origin(), width, height); }

    // The control's own setting, whether or not its form is shown.
    // (Set them with QWidget's setVisible and setEnabled.)
    bool Visible() const { return !self().isHidden(); }
    bool Enabled() const { return self().isEnabled(); }
    QString ToolTipText() const { return self().toolTip(); }
    void setToolTipText(const QString &text) { self().setToolTip(text); }

    // Index in its control array; -1 for a control that is in none.
    std::int16_t Index() const { return static_cast<std::int16_t>(self().property("Index").isValid() ? self().property("Index").toInt() : -1); }

    // The pointer over the control: a picture whose hot spot is given.
    void setMouseIcon(const QImage &picture, QPoint hotSpot) { self().setCursor(QCursor(QPixmap::fromImage(picture), hotSpot.x(), hotSpot.y())); }

private:
    int origin() const { return ClientOriginOf(self().parentWidget()); }
    const Self &self() const { return static_cast<const Self &>(*this); }
    Self &self() { return static_cast<Self &>(*this); }
};
