#pragma once
// The five cell pictures, part of the application's shared state: the
// start-up loads them from the bitmap resources 101 to 105, the engine only
// reads them. The application reopens this namespace for the rest of its state.
#include <QImage>

namespace modDeklarationen {

inline QImage picBmp101; // water
inline QImage picBmp102; // boat segment
inline QImage picBmp103; // miss
inline QImage picBmp104; // hit
inline QImage picBmp105; // sunk

} // namespace modDeklarationen
