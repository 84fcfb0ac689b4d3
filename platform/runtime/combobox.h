#pragma once
// The runtime library's combo box: an editable field with a drop-down list.
// Key events reach the program before the field acts on them, and the
// window answers the find and select messages of the platform's combo box,
// with its text in the ANSI code page at the message boundary.
#include "base/wintypes.h"

#include <QComboBox>

class QKeyEvent;

// Combo-box messages (published values).
constexpr UINT CB_FINDSTRING = 0x14C;
constexpr UINT CB_SETCURSEL = 0x14E;
constexpr UINT CB_FINDSTRINGEXACT = 0x158;
constexpr LRESULT CB_ERR = -1;

class ComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(int hWnd READ hWnd)

public:
    explicit ComboBox(QWidget *parent = nullptr);
    ~ComboBox() override;

    HWND hWnd() const { return m_hWnd; }

    QString Text() const;
    void setText(const QString &text);
    // Characters before the selection (or before the cursor when none).
    int32_t SelStart() const;
    void setSelStart(int32_t start);
    int32_t SelLength() const;
    void setSelLength(int32_t length);

    // -1 while no item is selected; typing into the field leaves none.
    // Counted in 32 bits: a list read from a file may hold any number of lines.
    int32_t ListIndex() const;
    void setListIndex(int32_t index);
    int32_t ListCount() const;
    QString List(int32_t index) const;
    void Clear();
    void AddItem(const QString &item);

    // What the window does with a message: the find and select messages;
    // anything else yields 0.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

signals:
    // KeyCode or KeyAscii set to 0 by a handler swallows the key.
    void KeyDown(int16_t &KeyCode, int16_t Shift);
    void KeyPress(int16_t &KeyAscii);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool deliverKey(QKeyEvent *event);
    int32_t findString(const QString &text, WPARAM after, bool exact) const;
    void forgetSelectionKeepingText();

    HWND m_hWnd = 0;
};
