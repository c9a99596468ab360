#pragma once

#include <QImage>

namespace skyfare::assets {

constexpr int kFastJetWidthPx = 272;
constexpr int kFastJetHeightPx = 80;

// A grey military jet with a delta wing and its afterburner lit, nose to the left, transparent
// around it; kFastJetWidthPx × kFastJetHeightPx at 1×.
QImage drawFastJet(double density = 1.0);

}  // namespace skyfare::assets
