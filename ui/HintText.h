#pragma once

#include <QFontMetrics>
#include <QString>

// A hint wider than `maxWidth` pixels broken into lines that fit; its own line
// ends are kept.
QString wrappedHint(const QString& hint, const QFontMetrics& metrics, int maxWidth);
