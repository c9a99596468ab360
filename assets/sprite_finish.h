#pragma once

#include <QImage>

namespace skyfare::assets {

enum class Facing { Left, Right };

// Sprites are painted nose to the right on a transparent canvas. This turns one into its file
// form: mirrored when it flies left, and with straight alpha so an antialiased edge pixel keeps
// the aircraft's own colour rather than a dark fringe.
QImage finishSprite(const QImage& paintedFacingRight, Facing facing);

// A transparent canvas to paint a sprite of widthPx × heightPx 1× pixels on, at a density.
QImage spriteCanvas(int widthPx, int heightPx, double density);

}  // namespace skyfare::assets
