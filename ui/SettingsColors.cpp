#include "ui/SettingsColors.h"

#include <QApplication>
#include <QPalette>

namespace SettingsColors {

namespace {

std::uint32_t rgbOf(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.blue()) << 16;
}

}  // namespace

QColor resolve(SettingsColor color) {
  if (!isSystemColor(color)) return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  const QPalette palette = QApplication::palette();
  switch (systemColorIndex(color)) {
    case SystemColorWindow: return palette.color(QPalette::Base);
    case SystemColorWindowText: return palette.color(QPalette::Text);
    case 15: return palette.color(QPalette::Button);      // button face
    case 18: return palette.color(QPalette::ButtonText);  // button text
    case 13: return palette.color(QPalette::Highlight);   // highlight
    case 14: return palette.color(QPalette::HighlightedText);
    default: return palette.color(QPalette::Window);
  }
}

std::uint32_t resolveToRgb(SettingsColor color) { return rgbOf(resolve(color)); }

SettingsColor of(const QColor& color) { return static_cast<SettingsColor>(rgbOf(color)); }

}  // namespace SettingsColors
