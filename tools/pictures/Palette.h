#pragma once

#include <QColor>

// The one palette of every picture: a dark, quiet theme with one accent.
namespace Palette {
inline QColor Window() { return QColor(0x17, 0x19, 0x1E); }     // window and dialog backgrounds
inline QColor Panel() { return QColor(0x22, 0x25, 0x2C); }      // panels, frames, buttons at rest
inline QColor PanelHover() { return QColor(0x2B, 0x2F, 0x37); }
inline QColor Line() { return QColor(0x33, 0x37, 0x3F); }       // hair-line borders
inline QColor LineStrong() { return QColor(0x4A, 0x50, 0x5A); } // borders of controls
inline QColor Accent() { return QColor(0x19, 0xC3, 0xA2); }     // active, checked, selected
inline QColor AccentLight() { return QColor(0x5F, 0xD8, 0xC0); } // hover
inline QColor AccentDark() { return QColor(0x10, 0x86, 0x70); }  // pressed
inline QColor Danger() { return QColor(0xE5, 0x48, 0x4D); }
inline QColor Warning() { return QColor(0xF2, 0xA9, 0x3B); }
inline QColor Text() { return QColor(0xE6, 0xE8, 0xEB); }
inline QColor TextSecondary() { return QColor(0x9A, 0xA0, 0xA8); }
inline QColor TextDisabled() { return QColor(0x5C, 0x62, 0x6B); }
} // namespace Palette
