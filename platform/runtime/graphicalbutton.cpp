#include "runtime/graphicalbutton.h"

#include "runtime/buttonface.h"

#include <QEvent>

GraphicalButton::GraphicalButton(QWidget *parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    setDefault(false);
    setMouseTracking(true);
}

void GraphicalButton::setStyle(int style) { m_style = style; update(); }
void GraphicalButton::setBackColor(COLORREF color) { m_backColor = color & 0x00FFFFFF; update(); }
void GraphicalButton::setPicture(const QImage &picture) { m_picture = picture; update(); }

void GraphicalButton::setPictureFile(const QString &path)
{
    m_pictureFile = path;
    setPicture(LoadPicture(path));
}

void GraphicalButton::CopyButtonFrom(const GraphicalButton &other)
{
    m_style = other.m_style;
    m_backColor = other.m_backColor;
    m_picture = other.m_picture;
    m_pictureFile = other.m_pictureFile;
    setText(other.text());
}

void GraphicalButton::paintEvent(QPaintEvent *event)
{
    if (m_style != vbButtonGraphical) {
        QPushButton::paintEvent(event);
        return;
    }
    // Option buttons and check boxes stay down while selected.
    const bool selected = isCheckable() && isChecked();
    PaintButtonFace(*this, m_backColor, shownPicture(), isDown() || selected, selected);
}

bool GraphicalButton::event(QEvent *event)
{
    const bool handled = QPushButton::event(event);
    // A disabled button takes no input: Qt passes it on to the container.
    if (!isEnabled())
        return handled;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        // Qt's button passes on what it does not use (moves without a
        // press, the right button); here they end.
        event->accept();
        return true;
    default:
        return handled;
    }
}
