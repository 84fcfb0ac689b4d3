#pragma once
// How the graphical command buttons, option buttons and check boxes are
// drawn: a face of their back colour inside a two-pixel raised edge, sunken
// while pressed; selected (an option chosen, a box checked) it stays sunken
// on a darker face. The picture centred in the room above the
// caption (clipped, never scaled), the caption centred at the bottom (in the
// middle when there is no picture) with its mnemonic underlined. A disabled
// button shows its caption engraved in grey and its picture greyed; the one
// with the focus a dotted frame inside the edge.
#include "base/wintypes.h"

#include <QColor>
#include <QImage>
#include <QString>

class QAbstractButton;

void PaintButtonFace(QAbstractButton &button, COLORREF backColor, const QImage &picture, bool sunken,
                     bool selected = false);

QColor ColorOf(COLORREF color);
// A picture of the resources by path (":/pictures/x.bmp"); null when none.
// Of an icon file with several images, the largest.
QImage LoadPicture(const QString &path);
