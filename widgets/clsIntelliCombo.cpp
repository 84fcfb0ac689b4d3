#include "clsIntelliCombo.h"

#include "base/ansi.h"
#include "runtime/combobox.h"
#include "runtime/doevents.h"
#include "runtime/error.h"
#include "runtime/inputcodes.h"
#include "runtime/plainfile.h"
#include "user32/user32.h"

#include <cstdio>

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

namespace {

// No real name list comes near these; what lies beyond them is not read.
constexpr qint64 MaxListBytes = 1024 * 1024;
constexpr int32_t MaxListNames = 100000;

const QByteArray ByteOrderMark = "\xEF\xBB\xBF";

void Warn(const QString &text)
{
    std::fprintf(stderr, "murvel: %s\n", qPrintable(text));
}

// The list file's bytes; a failure raises the error of its kind.
QByteArray ReadList(const QString &filename, bool *cut)
{
    const plainfile::ReadResult file = plainfile::read(filename, MaxListBytes, plainfile::BeyondLimit::Cut);
    switch (file.status) {
    case plainfile::ReadResult::Read:
        break;
    case plainfile::ReadResult::Missing:
        throw RuntimeError(errFileNotFound, QStringLiteral("Datei nicht gefunden"));
    case plainfile::ReadResult::Unreadable:
    case plainfile::ReadResult::TooLarge:
        Warn(QStringLiteral("cannot read %1: %2").arg(filename, file.why));
        throw RuntimeError(errPathFileAccess, file.why);
    }
    *cut = file.cut;
    return file.bytes;
}

} // namespace

bool clsIntelliCombo::Save(QString Filename, bool Append)
{
    bool result = true;
    try {
        if (!mvarCombo)
            throw RuntimeError(errObjectNotSet, QStringLiteral("Objektvariable nicht festgelegt"));
        QByteArray bytes;
        if (Append) {
            const plainfile::ReadResult old = plainfile::read(Filename, MaxListBytes, plainfile::BeyondLimit::Refuse);
            if (old.status == plainfile::ReadResult::Unreadable || old.status == plainfile::ReadResult::TooLarge)
                throw RuntimeError(errPathFileAccess, old.why);
            bytes = old.bytes;
        }
        // The list is written in the encoding it was read in.
        if (mvarEncoding == Encoding::Utf8WithBom && bytes.isEmpty())
            bytes += ByteOrderMark;
        for (int32_t i = 0; i <= mvarCombo->ListCount() - 1; ++i) {
            const QString entry = mvarCombo->List(i);
            bytes += (mvarEncoding == Encoding::Ansi ? ansi::fromUnicode(entry) : entry.toUtf8()) + "\r\n";
        }

        // Replaced whole, so a failed write (a full disk, a size limit)
        // leaves the old list intact, also when appending.
        QString why;
        switch (plainfile::replace(Filename, bytes, &why)) {
        case plainfile::Replaced::Yes: break;
        case plainfile::Replaced::NotAllowed: throw RuntimeError(errPathFileAccess, why);
        case plainfile::Replaced::WriteFailed: throw RuntimeError(errDeviceIO, why);
        }
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

        bool cut = false;
        QByteArray bytes = ReadList(Filename, &cut);
        if (cut) // the last line read may be a piece of one
            bytes.truncate(qMax(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1);

        // UTF-8, as editors write today, when the file is valid UTF-8 (with
        // or without a byte-order mark); else the ANSI code page.
        const bool bom = bytes.startsWith(ByteOrderMark);
        const QByteArray text = bom ? bytes.mid(ByteOrderMark.size()) : bytes;
        if (ansi::isValidUtf8(text)) {
            bytes = text;
            mvarEncoding = bom ? Encoding::Utf8WithBom : Encoding::Utf8;
        } else {
            mvarEncoding = Encoding::Ansi;
        }

        // A line ends at CR LF, or at a lone CR or LF as other editors write;
        // the end of the file ends the last line, and a final line end adds
        // no entry.
        qsizetype pos = 0;
        int32_t names = 0;
        while (pos < bytes.size()) {
            if (names == MaxListNames) {
                cut = true;
                break;
            }
            qsizetype end = pos;
            while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
                ++end;
            const QByteArray lineBytes = bytes.mid(pos, end - pos);
            const QString line = mvarEncoding == Encoding::Ansi ? ansi::toUnicode(lineBytes) : QString::fromUtf8(lineBytes);
            pos = end;
            if (pos < bytes.size() && bytes.at(pos) == '\r')
                ++pos;
            if (pos < bytes.size() && bytes.at(pos) == '\n' && (pos == end || bytes.at(pos - 1) == '\r'))
                ++pos;

            if (!mvarCombo) // the combo box went away while messages were handled
                throw RuntimeError(errObjectNotSet, QStringLiteral("Objektvariable nicht festgelegt"));
            mvarCombo->AddItem(line);
            ++names;
            DoEvents();
        }
        if (cut)
            Warn(QStringLiteral("%1 holds more than %2 names or %3 bytes; only the first %4 names are read")
                     .arg(Filename)
                     .arg(MaxListNames)
                     .arg(MaxListBytes)
                     .arg(names));
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
