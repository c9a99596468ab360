#pragma once

namespace skyfare {

// The title of message boxes that have none of their own.
inline constexpr char kProgramTitle[] = "Skyfare 1";

}  // namespace skyfare
