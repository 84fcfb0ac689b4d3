#pragma once
// Resources of the executable by id. They are compiled into the program
// with Qt's resource system as :/<TYPE>/<id> (for example :/BITMAP/101,
// :/ICON/101, :/SOUND/101).
#include <QByteArray>
#include <QImage>
#include <QString>

enum ResPictureType { vbResBitmap = 0, vbResIcon = 1 };

// A bitmap or icon resource; throws RuntimeError 326 when there is none.
QImage LoadResPicture(int id, int type);

// A custom resource as bytes, e.g. LoadResData(101, "SOUND"); throws
// RuntimeError 326 when there is none. A resource stored uncompressed is
// not copied: the array refers to the program's own bytes until something
// writes to it.
QByteArray LoadResData(int id, const QString &type);
