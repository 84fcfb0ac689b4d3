#include "runtime/resources.h"
#include "runtime/error.h"

#include <QResource>

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
    const QResource resource(resourcePath(type, id));
    if (!resource.isValid() || !resource.data())
        notFound(type, id);
    // A resource stored as it is: the executable's own bytes, without a
    // copy; the array copies them only when something writes to it.
    if (resource.compressionAlgorithm() == QResource::NoCompression)
        return QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()), resource.size());
    return resource.uncompressedData();
}
