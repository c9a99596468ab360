#pragma once

#include <QImage>

namespace skyfare::assets {

constexpr int kFastJetWidthPx = 272;
constexpr int kFastJetHeightPx = 80;

// A grey military jet with a delta wing and its afterburner lit, nose to the left, transparent
// around it.
QImage drawFastJet();

}  // namespace skyfare::assets
