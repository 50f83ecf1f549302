#pragma once

#include <QIcon>
#include <QPixmap>

// Every picture of the program, drawn by our own code.
namespace Pictures {

// The toolbar's image list, 16 x 16: 0-3 the mode buttons "A", "ｱ", "R", "!"
// up, 4-7 the same pressed, 8 copy all, 9 folder, 10 font, 11 exit, 12 3D
// chart, 13 3D chart unavailable, 14 practice calendar.
inline constexpr int ImageCount = 15;
QPixmap toolbarImage(int index);

// The program's icon at any size (window, about box, desktop entry).
QPixmap programIcon(int size);
QIcon programIconSet();

// The picture at the top of the loading window, 396 x 221.
QPixmap openingPicture();

// The picture at the side of the Windows installer's first and last pages, 164 x 314.
QPixmap installerPicture();

}  // namespace Pictures
