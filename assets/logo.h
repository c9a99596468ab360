#pragma once

#include <QImage>

namespace skyfare::assets {

constexpr int kLogoWidthPx = 180;
constexpr int kLogoHeightPx = 60;

// The program's logo, kLogoWidthPx × kLogoHeightPx at 1×: a swept tail fin beside the word
// "Skyfare" on a night-blue plate. Opaque, because the scene draws the logo without transparency.
// The lettering is painted as outlines of a pinned face so it looks the same on every machine.
// Needs a running QGuiApplication.
QImage drawLogo(double density = 1.0);

}  // namespace skyfare::assets
