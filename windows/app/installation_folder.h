#pragma once

namespace skyfare {

// Where the installer puts the pictures, the sound and the support page; the store's first-run
// picture paths name files here.
inline constexpr char kInstallationFolder[] = "C:\\Corvinel\\Skyfare\\";

}  // namespace skyfare
