#pragma once
// How the graphical command buttons, option buttons and check boxes are
// drawn: a flat face of their back colour inside a raised edge, sunken
// while pressed (or selected), the picture centred above the caption.
#include "base/wintypes.h"

#include <QImage>
#include <QString>

class QAbstractButton;

void PaintButtonFace(QAbstractButton &button, COLORREF backColor, const QImage &picture, bool sunken);

QColor ColorOf(COLORREF color);
// A picture of the resources by path (":/pictures/x.bmp"); null when none.
QImage LoadPicture(const QString &path);
