#pragma once

namespace skyfare {

// Has every thread allocate from the one arena of the C library, for the life of the process.
// By default each thread that allocates gets an arena of its own, which keeps what the threads
// reducing pictures at start-up freed: about a megabyte, a sixth of the saver's own memory. The
// saver's threads allocate too little for sharing one to slow them. Called first in main.
void allocateFromOneArena();

}  // namespace skyfare
