#pragma once

#include <QColor>

#include <cstdint>

#include "settings/SettingsFile.h"

// The settings file's colours on this desktop: RGB values as they are, the
// system colours from the application's palette.
namespace SettingsColors {

QColor resolve(SettingsColor color);
std::uint32_t resolveToRgb(SettingsColor color);  // what the settings file keeps of a system colour
SettingsColor of(const QColor& color);

}  // namespace SettingsColors
