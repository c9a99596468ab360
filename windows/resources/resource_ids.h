#pragma once

// Resource numbers of Skyfare.scr, read by the resource compiler and by the program alike, so
// plain macros. The system's screen saver settings read the description string as number 1.
#define IDS_DESCRIPTION 1
#define IDI_SKYFARE 1
