#pragma once
// The ANSI code page of the platform is Windows-1252. Every "A" call, and
// every file the game shares with the outside world, converts at this line.
#include <QByteArray>
#include <QString>

namespace ansi {

// Unicode to Windows-1252; a character the code page lacks becomes '?'.
QByteArray fromUnicode(const QString &text);

// Windows-1252 to Unicode; the five unassigned bytes map to U+FFFD.
QString toUnicode(const QByteArray &bytes);
QString toUnicode(const char *zeroTerminated);

// Whether bytes are valid UTF-8 (plain ASCII is): text from outside that is
// may be read as UTF-8, any other as Windows-1252.
bool isValidUtf8(const QByteArray &bytes);

} // namespace ansi
