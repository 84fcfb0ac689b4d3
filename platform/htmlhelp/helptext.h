#pragma once
// Text inside a help file is bytes: pages and sitemaps name their encoding
// in a meta tag; without one they are taken as UTF-8 when they are valid
// UTF-8 and as the ANSI code page (Windows-1252) otherwise.
#include <QByteArray>
#include <QString>

namespace helptext {

// The charset named by a <meta ... charset=...> tag, lower case; empty if none.
QByteArray declaredCharset(const QByteArray &html);

// The text decoded by its declared charset, or by the rule above.
QString decode(const QByteArray &bytes);

} // namespace helptext
