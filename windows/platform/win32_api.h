#pragma once

// The Windows API without the two macros that would rename the core's own DrawText and
// PlaySound in every file that sees them (the system's calls keep their W names).
#include <windows.h>
#include <mmsystem.h>
#undef DrawText
#undef PlaySound
