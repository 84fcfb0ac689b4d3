#include "runtime/label.h"

#include "runtime/buttonface.h"

#include <QPalette>

Label::Label(QWidget *parent)
    : QLabel(parent)
{
    // A caption is shown as typed: no markup, no mnemonics.
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(vbLeftJustify);
    setMouseTracking(true);
    applyColours();
}

void Label::setCaption(const QString &caption)
{
    m_caption = caption;
    // CR LF (or a lone CR or LF) breaks the line.
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_shown = shown;
    setText(shown);
}

void Label::setAlignment(int alignment)
{
    m_alignment = alignment;
    Qt::Alignment a = Qt::AlignTop;
    switch (alignment) {
    case vbRightJustify: a |= Qt::AlignRight; break;
    case vbCenter: a |= Qt::AlignHCenter; break;
    default: a |= Qt::AlignLeft; break;
    }
    QLabel::setAlignment(a);
}

void Label::setBackStyle(int style)
{
    m_backStyle = style;
    applyColours();
}

void Label::setBackColor(COLORREF color)
{
    m_backColor = color;
    applyColours();
}

void Label::setForeColor(COLORREF color)
{
    m_foreColor = color;
    applyColours();
}

void Label::applyColours()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, ColorOf(m_backColor));
    p.setColor(QPalette::WindowText, ColorOf(m_foreColor));
    setPalette(p);
    setAutoFillBackground(m_backStyle == vbOpaque);
    update();
}

void Label::CopyFrom(const Label &other)
{
    m_alignment = other.m_alignment;
    m_backStyle = other.m_backStyle;
    m_backColor = other.m_backColor;
    m_foreColor = other.m_foreColor;
    setAlignment(m_alignment);
    applyColours();
    setCaption(other.Caption());
}

// The label answers its own mouse events, so they do not reach the form.
bool Label::event(QEvent *event)
{
    return EmitMouseSignals(*this, m_mouse, event) || QLabel::event(event);
}
