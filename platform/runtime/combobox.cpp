#include "runtime/combobox.h"

#include "base/ansi.h"
#include "runtime/inputcodes.h"
#include "user32/user32.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

int16_t shiftOf(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers m = event->modifiers();
    return static_cast<int16_t>((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                                (m & Qt::AltModifier ? 4 : 0));
}

// The ANSI character code a key types: Backspace, Tab, Enter, Escape and
// the printable characters the code page holds; 0 for anything else
// (cursor keys, Delete, control chords, characters outside the code page).
int16_t keyAsciiOf(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    default: break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return 0;
    const QString text = event->text();
    if (text.size() != 1 || text.at(0).unicode() < 32 || text.at(0).unicode() == 127)
        return 0;
    const QByteArray ansiChar = ansi::fromUnicode(text);
    if (ansiChar.size() != 1 || (ansiChar.at(0) == '?' && text != QLatin1String("?")))
        return 0;
    return static_cast<int16_t>(static_cast<unsigned char>(ansiChar.at(0)));
}

// The window procedure of every combo box: the find and select messages.
LRESULT comboWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto *combo = qobject_cast<ComboBox *>(WidgetOf(hwnd)))
        return combo->WindowProc(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

ComboBox::ComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    // The field completes nothing by itself and never adds what is typed:
    // the program decides both.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    connect(lineEdit(), &QLineEdit::textEdited, this, &ComboBox::forgetSelectionKeepingText);
    m_hWnd = HandleOf(this, "ComboBox");
    SetWindowLongA(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&comboWindowProc));
}

ComboBox::~ComboBox() = default;

QString ComboBox::Text() const
{
    return lineEdit()->text();
}

void ComboBox::setText(const QString &text)
{
    lineEdit()->setText(text);
}

int32_t ComboBox::SelStart() const
{
    const QLineEdit *edit = lineEdit();
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void ComboBox::setSelStart(int32_t start)
{
    // Like the runtime: moving the start drops the selection.
    lineEdit()->setCursorPosition(qBound(0, start, static_cast<int32_t>(Text().size())));
}

int32_t ComboBox::SelLength() const
{
    return static_cast<int32_t>(lineEdit()->selectedText().size());
}

void ComboBox::setSelLength(int32_t length)
{
    const int32_t start = SelStart();
    const int32_t room = static_cast<int32_t>(Text().size()) - start;
    lineEdit()->setSelection(start, qBound(0, length, room));
}

int32_t ComboBox::ListIndex() const
{
    return currentIndex();
}

void ComboBox::setListIndex(int32_t index)
{
    WindowProc(CB_SETCURSEL, static_cast<WPARAM>(static_cast<LPARAM>(index)), 0);
}

int32_t ComboBox::ListCount() const
{
    return count();
}

QString ComboBox::List(int32_t index) const
{
    return itemText(index);
}

void ComboBox::Clear()
{
    // Empties the list and the field, as the platform's combo box does.
    clear();
    lineEdit()->clear();
}

void ComboBox::AddItem(const QString &item)
{
    // Adding to an empty list must not select the new item.
    const int before = currentIndex();
    const QString text = Text();
    addItem(item);
    if (before == -1 && currentIndex() != -1) {
        setCurrentIndex(-1);
        lineEdit()->setText(text);
    }
}

void ComboBox::forgetSelectionKeepingText()
{
    if (currentIndex() == -1)
        return;
    QLineEdit *edit = lineEdit();
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    setCurrentIndex(-1);
    edit->setText(text);
    edit->setCursorPosition(cursor);
}

int32_t ComboBox::findString(const QString &text, WPARAM after, bool exact) const
{
    const int n = count();
    if (n == 0)
        return static_cast<int32_t>(CB_ERR);
    // The search starts behind the given item and wraps; an index that
    // names no item searches from the top.
    const LPARAM given = static_cast<LPARAM>(after);
    const int first = (given < 0 || given >= n) ? 0 : static_cast<int>(given) + 1;
    for (int k = 0; k < n; ++k) {
        const int i = (first + k) % n;
        const QString item = itemText(i);
        const bool hit = exact ? item.compare(text, Qt::CaseInsensitive) == 0
                               : item.startsWith(text, Qt::CaseInsensitive);
        if (hit)
            return i;
    }
    return static_cast<int32_t>(CB_ERR);
}

LRESULT ComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT: {
        const auto *ansiText = reinterpret_cast<const char *>(lParam);
        return findString(ansi::toUnicode(ansiText), wParam, message == CB_FINDSTRINGEXACT);
    }
    case CB_SETCURSEL: {
        const LPARAM index = static_cast<LPARAM>(wParam);
        if (index < 0 || index >= count()) {
            setCurrentIndex(-1);
            lineEdit()->clear();
            return CB_ERR;
        }
        setCurrentIndex(static_cast<int>(index));
        lineEdit()->setText(itemText(static_cast<int>(index)));
        return index;
    }
    default:
        return DefWindowProcA(m_hWnd, message, wParam, lParam);
    }
}

bool ComboBox::deliverKey(QKeyEvent *event)
{
    const int16_t code = KeyCodeOf(event);
    if (code != 0) {
        int16_t keyCode = code;
        emit KeyDown(keyCode, shiftOf(event));
        if (keyCode == 0)
            return true;
    }
    const int16_t ascii = keyAsciiOf(event);
    if (ascii == 0)
        return false;
    int16_t keyAscii = ascii;
    emit KeyPress(keyAscii);
    if (keyAscii == 0)
        return true;
    if (keyAscii != ascii && keyAscii >= 32 && keyAscii <= 255) {
        // The handler typed a different character in place of this one.
        lineEdit()->insert(ansi::toUnicode(QByteArray(1, static_cast<char>(keyAscii))));
        return true;
    }
    return false;
}

bool ComboBox::event(QEvent *event)
{
    // Tab never reaches keyPressEvent (it moves the focus first), but the
    // program still hears of it before it does.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            if (deliverKey(key))
                return true;
        }
    }
    return QComboBox::event(event);
}

void ComboBox::keyPressEvent(QKeyEvent *event)
{
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (!tab && deliverKey(event)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}
