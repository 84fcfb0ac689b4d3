#include "clsIntelliCombo.h"

#include "base/ansi.h"
#include "runtime/combobox.h"
#include "runtime/doevents.h"
#include "runtime/error.h"
#include "runtime/inputcodes.h"
#include "user32/user32.h"

#include <QFile>
#include <QSaveFile>

namespace {

QString Chr(int16_t ansiCode)
{
    return ansi::toUnicode(QByteArray(1, static_cast<char>(ansiCode)));
}

} // namespace

clsIntelliCombo::clsIntelliCombo()
{
    setEnabled(true);
}

clsIntelliCombo::~clsIntelliCombo()
{
    setCombo(nullptr);
}

void clsIntelliCombo::setCombo(ComboBox *vData)
{
    disconnect(m_keyDown);
    disconnect(m_keyPress);
    mvarCombo = vData;
    if (vData) {
        m_keyDown = connect(vData, &ComboBox::KeyDown, this, &clsIntelliCombo::mvarCombo_KeyDown);
        m_keyPress = connect(vData, &ComboBox::KeyPress, this, &clsIntelliCombo::mvarCombo_KeyPress);
    }
}

ComboBox *clsIntelliCombo::Combo() const
{
    return mvarCombo;
}

void clsIntelliCombo::setEnabled(bool vData)
{
    mvarEnabled = vData;
}

bool clsIntelliCombo::Enabled() const
{
    return mvarEnabled;
}

int32_t clsIntelliCombo::LastError() const
{
    return mvarLastError;
}

bool clsIntelliCombo::Save(QString Filename, bool Append)
{
    bool result = true;
    try {
        if (!mvarCombo)
            throw RuntimeError(errObjectNotSet, QStringLiteral("Objektvariable nicht festgelegt"));
        QByteArray bytes;
        if (Append) {
            QFile old(Filename);
            if (old.exists()) {
                if (!old.open(QIODevice::ReadOnly))
                    throw RuntimeError(errPathFileAccess, old.errorString());
                bytes = old.readAll();
                if (old.error() != QFileDevice::NoError)
                    throw RuntimeError(errDeviceIO, old.errorString());
            }
        }
        for (int32_t i = 0; i <= mvarCombo->ListCount() - 1; ++i)
            bytes += ansi::fromUnicode(mvarCombo->List(i)) + "\r\n";

        // Written beside and renamed over the old file only when all of it
        // is on disk, so a failed write (a full disk, a size limit) leaves
        // the old list intact, also when appending.
        QSaveFile file(Filename);
        if (!file.open(QIODevice::WriteOnly))
            throw RuntimeError(errPathFileAccess, file.errorString());
        if (file.write(bytes) != bytes.size() || !file.commit())
            throw RuntimeError(errDeviceIO, file.errorString());
    } catch (const RuntimeError &e) {
        mvarLastError = e.Number();
        result = false;
    }
    return result;
}

bool clsIntelliCombo::Load(QString Filename, bool Append)
{
    bool result = true;
    try {
        if (!mvarCombo)
            throw RuntimeError(errObjectNotSet, QStringLiteral("Objektvariable nicht festgelegt"));
        if (!Append)
            mvarCombo->Clear();

        QFile file(Filename);
        if (!file.exists())
            throw RuntimeError(errFileNotFound, QStringLiteral("Datei nicht gefunden"));
        if (!file.open(QIODevice::ReadOnly))
            throw RuntimeError(errPathFileAccess, file.errorString());
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw RuntimeError(errDeviceIO, file.errorString());

        // A line ends at CR LF, or at a lone CR or LF as other editors write;
        // the end of the file ends the last line, and a final line end adds
        // no entry.
        qsizetype pos = 0;
        while (pos < bytes.size()) {
            qsizetype end = pos;
            while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
                ++end;
            const QString line = ansi::toUnicode(bytes.mid(pos, end - pos));
            pos = end;
            if (pos < bytes.size() && bytes.at(pos) == '\r')
                ++pos;
            if (pos < bytes.size() && bytes.at(pos) == '\n' && (pos == end || bytes.at(pos - 1) == '\r'))
                ++pos;

            if (!mvarCombo) // the combo box went away while messages were handled
                throw RuntimeError(errObjectNotSet, QStringLiteral("Objektvariable nicht festgelegt"));
            mvarCombo->AddItem(line);
            DoEvents();
        }
    } catch (const RuntimeError &e) {
        mvarLastError = e.Number();
        result = false;
    }
    return result;
}

QString clsIntelliCombo::GetNewText(int16_t key, KeyPath path) const
{
    QString text;
    int32_t start = 0;
    int32_t length = 0;
    if (mvarCombo) {
        text = mvarCombo->Text();
        start = qBound(0, mvarCombo->SelStart(), static_cast<int32_t>(text.size()));
        length = qBound(0, mvarCombo->SelLength(), static_cast<int32_t>(text.size()) - start);
    }
    const QString before = text.left(start);
    const QString after = text.mid(start + length);

    if (path == KeyPath::KeyPress && key == vbKeyBack)
        return length > 0 ? before + after : CutLastChar(before) + after;
    if (path == KeyPath::KeyDown && key == vbKeyDelete)
        return length > 0 ? before + after : before + CutFirstChar(after);
    return before + Chr(key) + after;
}

bool clsIntelliCombo::AutoComplete(const QString &text, UINT message)
{
    bool result = false;
    if (!mvarCombo)
        return result;
    int32_t start = mvarCombo->ListIndex() - 1;
    if (start < -1)
        start = -1;
    if (!text.isEmpty()) {
        const int32_t i = SendComboMessage(text, start, message);
        if (i == -1)
            return result;
        SendComboMessage(QString(), i, CB_SETCURSEL);
        if (!mvarCombo)
            return result;
        mvarCombo->setSelStart(static_cast<int32_t>(text.size()));
        mvarCombo->setSelLength(static_cast<int32_t>(mvarCombo->Text().size() - text.size()));
        result = true;
    } else {
        SendComboMessage(QString(), -1, CB_SETCURSEL);
        result = start != -1;
    }
    return result;
}

int32_t clsIntelliCombo::SendComboMessage(const QString &text, int32_t wParam, UINT message)
{
    if (!mvarCombo || mvarCombo->hWnd() == 0)
        return -1;
    const QByteArray ansiText = ansi::fromUnicode(text);
    const LRESULT r = SendMessageA(mvarCombo->hWnd(), message, static_cast<WPARAM>(static_cast<LPARAM>(wParam)),
                                   reinterpret_cast<LPARAM>(ansiText.constData()));
    return static_cast<int32_t>(r);
}

QString clsIntelliCombo::CutFirstChar(const QString &s)
{
    return s.isEmpty() ? QString() : s.mid(1);
}

QString clsIntelliCombo::CutLastChar(const QString &s)
{
    return s.isEmpty() ? QString() : s.left(s.size() - 1);
}

void clsIntelliCombo::mvarCombo_KeyDown(int16_t &KeyCode, int16_t /*Shift*/)
{
    if (!mvarEnabled || KeyCode != vbKeyDelete)
        return;
    const QString newText = GetNewText(vbKeyDelete, KeyPath::KeyDown);
    if (AutoComplete(newText, CB_FINDSTRINGEXACT))
        KeyCode = 0;
}

void clsIntelliCombo::mvarCombo_KeyPress(int16_t &KeyAscii)
{
    // A code of 0 is a key that a handler before this one has refused: it
    // is no character any more, and completing with it would enter one.
    if (!mvarEnabled || KeyAscii == 0 || KeyAscii == vbKeyTab || KeyAscii == vbKeyReturn)
        return;
    const QString newText = GetNewText(KeyAscii, KeyPath::KeyPress);
    const UINT message = KeyAscii == vbKeyBack ? CB_FINDSTRINGEXACT : CB_FINDSTRING;
    if (AutoComplete(newText, message))
        KeyAscii = 0;
}
