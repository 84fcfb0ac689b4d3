#pragma once
// The runtime's label control: a caption of plain text (no markup, no
// mnemonics), broken into lines at CR LF and wrapped between words at the
// label's width; aligned left, right or centred; on an opaque background of
// its own colour or transparent over what lies behind it.
#include "base/wintypes.h"
#include "runtime/control.h"
#include "runtime/inputcodes.h"

#include <QLabel>
#include <QString>

#include <cstdint>

enum AlignmentConstants : std::int16_t { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };
enum BackStyleConstants : std::int16_t { vbTransparent = 0, vbOpaque = 1 };

class Label : public QLabel, public Control<Label> {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(int BackStyle READ BackStyle WRITE setBackStyle)
    Q_PROPERTY(int BackColor READ BackColorInt WRITE setBackColorInt)
    Q_PROPERTY(int ForeColor READ ForeColorInt WRITE setForeColorInt)

public:
    explicit Label(QWidget *parent = nullptr);

    QString Caption() const { return text() == m_shown ? m_caption : text(); }
    void setCaption(const QString &caption);
    // vbLeftJustify, vbRightJustify or vbCenter.
    int Alignment() const { return m_alignment; }
    void setAlignment(int alignment);
    // vbTransparent or vbOpaque (the default).
    int BackStyle() const { return m_backStyle; }
    void setBackStyle(int style);
    COLORREF BackColor() const { return m_backColor; }
    void setBackColor(COLORREF color);
    COLORREF ForeColor() const { return m_foreColor; }
    void setForeColor(COLORREF color);

    // Copies the label's own properties, for a control array's new element.
    void CopyFrom(const Label &other);

signals:
    void Click();
    void MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);

protected:
    bool event(QEvent *event) override;

private:
    int BackColorInt() const { return static_cast<int>(m_backColor); }
    void setBackColorInt(int c) { setBackColor(static_cast<COLORREF>(c)); }
    int ForeColorInt() const { return static_cast<int>(m_foreColor); }
    void setForeColorInt(int c) { setForeColor(static_cast<COLORREF>(c)); }

    void applyColours();

    QString m_caption;
    // What setCaption put on show: a layout that sets the QLabel text
    // directly leaves the two apart, and then the text is the caption.
    QString m_shown;
    int m_alignment = vbLeftJustify;
    int m_backStyle = vbOpaque;
    COLORREF m_backColor = 0x00F0F0F0;
    COLORREF m_foreColor = 0x00000000;
    MouseInput m_mouse;
};
