#pragma once

#include <QImage>
#include <QString>

// The pictures that grow over the celebration banner, "Oiwai1.BMP" ...
// "Oiwai5.BMP", drawn by our own code and written beside the program.
namespace BannerPictures {

inline constexpr int Count = 5;

// Picture 1 to Count (other numbers wrap round), 480 x 120.
QImage picture(int number);

// "Oiwai<number>.BMP"
QString fileName(int number);

}  // namespace BannerPictures
