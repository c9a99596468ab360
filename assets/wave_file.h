#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace skyfare::assets {

// Writes mono 16-bit PCM samples as a RIFF wave file. Returns false when the file cannot be
// written.
bool saveWave(const std::vector<std::int16_t>& samples, int sampleRateHz, const QString& path);

}  // namespace skyfare::assets
