#include "htmlhelp/helptext.h"

#include "base/ansi.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace helptext {

QByteArray declaredCharset(const QByteArray &html)
{
    // Both forms: <meta charset="x"> and <meta http-equiv=... content="...; charset=x">.
    static const QRegularExpression meta(QStringLiteral("<meta\\b[^>]*?charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9._:\\-]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = meta.match(QString::fromLatin1(html));
    return m.hasMatch() ? m.captured(1).toLatin1().toLower() : QByteArray();
}

QString decode(const QByteArray &bytes)
{
    const QByteArray charset = declaredCharset(bytes);
    if (charset == "utf-8" || charset == "utf8")
        return QString::fromUtf8(bytes);
    // Windows-1252 is a superset of the printable Latin-1 and of ASCII.
    if (charset == "windows-1252" || charset == "cp1252" || charset == "iso-8859-1" || charset == "latin1"
        || charset == "us-ascii")
        return ansi::toUnicode(bytes);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder(bytes);
    }
    return ansi::isValidUtf8(bytes) ? QString::fromUtf8(bytes) : ansi::toUnicode(bytes);
}

} // namespace helptext
