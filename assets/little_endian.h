#pragma once

#include <QByteArray>
#include <cstdint>

namespace skyfare::assets {

// Appends whole numbers in the little-endian order that file headers of this platform family use.
inline void appendLe16(QByteArray& bytes, std::uint16_t value) {
  bytes.append(static_cast<char>(value & 0xFF));
  bytes.append(static_cast<char>(value >> 8));
}

inline void appendLe32(QByteArray& bytes, std::uint32_t value) {
  appendLe16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
  appendLe16(bytes, static_cast<std::uint16_t>(value >> 16));
}

// Writes the bytes whole, or reports that the file could not be written.
bool writeFileBytes(const QByteArray& bytes, const QString& path);

}  // namespace skyfare::assets
