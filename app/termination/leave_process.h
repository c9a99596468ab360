#pragma once

namespace skyfare {

// The last step of main, once everything of the program's own is cleaned up: gives back the
// exit code for the ordinary exit. While the opening of an audio device that has ended still
// runs inside the sound libraries, that exit would tear those libraries down beside it (they
// free locks it takes), so the process ends here with the same code, its output flushed.
int leaveProcess(int exitCode);

}  // namespace skyfare
