#include "runtime/resources.h"
#include "runtime/error.h"

#include <QFile>

namespace {

QString resourcePath(const QString &type, int id)
{
    return QStringLiteral(":/%1/%2").arg(type.toUpper()).arg(id);
}

[[noreturn]] void notFound(const QString &type, int id)
{
    throw RuntimeError(errResourceNotFound, QStringLiteral("Resource with identifier '%1' of type %2 not found").arg(id).arg(type));
}

} // namespace

QImage LoadResPicture(int id, int type)
{
    const QString kind = type == vbResIcon ? QStringLiteral("ICON") : QStringLiteral("BITMAP");
    QImage image(resourcePath(kind, id));
    if (image.isNull())
        notFound(kind, id);
    return image;
}

QByteArray LoadResData(int id, const QString &type)
{
    QFile file(resourcePath(type, id));
    if (!file.open(QIODevice::ReadOnly))
        notFound(type, id);
    return file.readAll();
}
