#pragma once

namespace skyfare {

// How a termination signal (SIGTERM, SIGINT, SIGHUP) ends each entry point. Idle runners and
// lockers that start `skyfare` read an exit code of 0 as a clean end; screen-saver hosts that
// start `skyfare-hack` expect it to die by the signal they sent.
enum class WayOfEnding {
  ExitZero,  // the process exits with code 0
  BySignal,  // the process dies by the signal that came
};

// What a signal does in each phase. The signals are blocked from the first line of main, so
// none is lost and none ends the process before its phase says how.
//
// | phase                     | the watch                       | what then                     |
// |---------------------------|---------------------------------|-------------------------------|
// | start, before the session | none: the signal waits          | as in the next phase          |
// | load step (no event loop) | TerminationWatch, every 100 ms  | ends at once the way given    |
// | event loop                | LoopTermination                 | the loop ends, the unload     |
// |                           |                                 | step runs, then the way given |
// | end of main               | leaveProcess                    | the exit code                 |
//
// With BySignal a second signal during the unload step ends the process at once, and the first
// comes again after SignalEnding::kUnloadGraceMs should the unload hang.

}  // namespace skyfare
