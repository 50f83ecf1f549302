#pragma once

#include <QPixmap>

// The 16 x 16 tool-bar pictures of the 3D chart window, drawn by our own code.
namespace ChartIcons {

inline constexpr int Size = 16;

QPixmap first();     // a bar and a double arrow to the left
QPixmap previous();  // an arrow to the left
QPixmap next();      // an arrow to the right
QPixmap last();      // a double arrow to the right and a bar
QPixmap options();   // three small bars and a check mark
QPixmap close();     // a red cross

}  // namespace ChartIcons
