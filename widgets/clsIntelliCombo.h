#pragma once
// Self-completion for an editable combo box: while the user types, the
// first list entry that begins with the typed text is taken into the field,
// its untyped tail selected so that typing on overwrites it. The list can be
// loaded from (and saved to) a text file with one entry per line.
#include "base/wintypes.h"

#include <QObject>
#include <QPointer>

class ComboBox;

class clsIntelliCombo : public QObject {
    Q_OBJECT

public:
    clsIntelliCombo();
    ~clsIntelliCombo() override;

    void setCombo(ComboBox *vData);
    ComboBox *Combo() const;
    void setEnabled(bool vData);
    bool Enabled() const;
    // The error number of the last failed Save or Load; a success keeps it.
    int32_t LastError() const;

    // One entry per line, CR LF after each. Load reads a file that is valid
    // UTF-8 (with or without a byte-order mark) as UTF-8 and any other in the
    // ANSI code page, a plain file only and at most its first 100,000 names
    // and 1 MiB; Save writes in the encoding of the last Load (the ANSI code
    // page before any).
    bool Save(QString Filename, bool Append = false);
    bool Load(QString Filename, bool Append = false);

private:
    enum class KeyPath { KeyDown, KeyPress };

    QString GetNewText(int16_t key, KeyPath path) const;
    bool AutoComplete(const QString &text, UINT message);
    int32_t SendComboMessage(const QString &text, int32_t wParam, UINT message);
    static QString CutFirstChar(const QString &s);
    static QString CutLastChar(const QString &s);

    void mvarCombo_KeyDown(int16_t &KeyCode, int16_t Shift);
    void mvarCombo_KeyPress(int16_t &KeyAscii);

    enum class Encoding { Ansi, Utf8, Utf8WithBom };

    QPointer<ComboBox> mvarCombo;
    Encoding mvarEncoding = Encoding::Ansi;
    bool mvarEnabled = false;
    int32_t mvarLastError = 0;
    QMetaObject::Connection m_keyDown;
    QMetaObject::Connection m_keyPress;
};
