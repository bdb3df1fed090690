#pragma once

// The Qt platform the tool paints its PDF on, whatever the desktop: one that
// never needs a display and draws with the system's fonts. On Linux that is
// "offscreen" (fonts through fontconfig); on Windows the native "windows"
// platform, which needs no display there, since Qt's offscreen platform on
// Windows finds no fonts and would print pages without text. A POSIX and a
// Windows face.
namespace PaintingPlatform {
const char *name();
}
