# Shared by the benchmark scripts: a work folder and a runtime folder of their own, the X server
# and the program under measurement ended on exit ($xvfb and $program hold their pids), and the
# readings of CPU ticks and of the clock.
work=$(mktemp -d)
xvfb=
program=
trap '[[ -n $program ]] && kill $program 2>/dev/null; [[ -n $xvfb ]] && kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime SDL_AUDIODRIVER=dummy
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
ticks=$(getconf CLK_TCK)

# User and system CPU ticks of a process so far.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
now_ms() { date +%s%3N; }
