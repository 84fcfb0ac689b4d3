#pragma once
// The runtime library's string constants.
#include <QString>

// The line break of texts: carriage return and line feed (13, 10).
inline const QString vbCrLf = QStringLiteral("\r\n");
