#pragma once
// The program's font, Tahoma 8 pt. Where the desktop has no Tahoma, the metric-
// compatible one with Cyrillic shipped for Windows compatibility layers is loaded as an
// application font, so captions and columns laid out for Tahoma are not cut.
#include <QFont>
#include <QString>
#include <vector>

namespace cvu {

inline constexpr const char* kFontFamily = "Tahoma";
inline constexpr int kFontPointSize = 8;

// Font files tried, in order, when no Tahoma is installed.
std::vector<QString> TahomaFontFiles();

// Makes Tahoma available (loading the first usable file of candidates when the desktop
// lacks it). True when a Tahoma with Cyrillic can be used.
bool EnsureTahoma(const std::vector<QString>& candidates = TahomaFontFiles());

// Tahoma 8 pt when it is available, otherwise the platform's font at 8 pt.
QFont ProgramFont();
// The same, told whether EnsureTahoma found the face (asking the font database costs).
QFont ProgramFont(bool tahoma);

}  // namespace cvu
