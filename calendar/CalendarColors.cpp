#include "calendar/CalendarColors.h"

namespace {

bool isDark(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }

}  // namespace

CalendarColors CalendarColors::forPalette(const QPalette& palette) {
  CalendarColors c;
  if (isDark(palette)) {
    c.levels = {QColor(0x3b, 0x43, 0x4c), QColor(0x0e, 0x44, 0x29), QColor(0x00, 0x6d, 0x32), QColor(0x26, 0xa6, 0x41),
                QColor(0x39, 0xd3, 0x53)};
    c.personalBest = QColor(0xff, 0xa6, 0x57);
  } else {
    c.levels = {QColor(0xdc, 0xdf, 0xe3), QColor(0x9b, 0xe9, 0xa8), QColor(0x40, 0xc4, 0x63), QColor(0x30, 0xa1, 0x4e),
                QColor(0x21, 0x6e, 0x39)};
    c.personalBest = QColor(0xd7, 0x3a, 0x49);
  }
  c.today = palette.color(QPalette::WindowText);
  c.text = palette.color(QPalette::WindowText);
  return c;
}
