#!/usr/bin/env python3
"""The time from SIGTERM to the end of the process while the audio device's opening hangs on a
sound server that accepts and never answers: `skyfare /s` and `skyfare-hack` (in a window of
its own), each RUNS times on an idle machine and RUNS times beside one busy loop per core.
SIGTERM comes once the first frame is on the screen and the opening sits at the server. With
--cold every run starts on an empty fontconfig cache of its own.

Usage: bench/deaf_end.py [--build DIR] [--runs N] [--cold]
"""
import argparse
import os
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

SCREEN = (1024, 768)
WATCHDOG_S = 30


class DeafServer:
    """Accepts connections and never answers; counts them."""

    def __init__(self, path):
        self.accepted = 0
        self._clients = []
        self._server = socket.socket(socket.AF_UNIX)
        self._server.bind(path)
        self._server.listen(64)
        threading.Thread(target=self._serve, daemon=True).start()

    def _serve(self):
        while True:
            client, _ = self._server.accept()
            self._clients.append(client)
            self.accepted += 1


def wait_until(condition, what):
    deadline = time.monotonic() + WATCHDOG_S
    while not condition():
        if time.monotonic() > deadline:
            sys.exit(f"deaf_end: {what} within {WATCHDOG_S} s")
        time.sleep(0.005)


def start_xvfb(work):
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
         "-nolisten", "tcp", "-noreset", "-br"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        return xvfb, ":" + numbers.readline().strip()


def cold_fontconfig(work, run):
    cache = os.path.join(work, f"fontconfig-cache-{run}")
    config = os.path.join(work, f"fonts-{run}.conf")
    with open(config, "w") as out:
        out.write(f"""<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><dir>/usr/share/fonts</dir><dir>/usr/local/share/fonts</dir>
<cachedir>{cache}</cachedir><include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
""")
    return config


def end_after_sigterm_ms(command, env, first_frame_wait, centre, server):
    accepted_before = server.accepted
    started_ms = int(time.time() * 1000)
    program = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    subprocess.run([first_frame_wait, str(started_ms), str(WATCHDOG_S * 1000),
                    str(centre[0]), str(centre[1])], env=env, check=True,
                   stdout=subprocess.DEVNULL)
    wait_until(lambda: server.accepted > accepted_before, "the opening did not reach the server")
    asked = time.monotonic()
    program.send_signal(signal.SIGTERM)
    status = program.wait()
    return (time.monotonic() - asked) * 1000, status


def busy_loops():
    return [subprocess.Popen(["yes"], stdout=subprocess.DEVNULL) for _ in range(os.cpu_count())]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--cold", action="store_true")
    options = parser.parse_args()
    build = os.path.abspath(options.build)
    first_frame_wait = os.path.join(build, "bin", "skyfare_first_frame_wait")
    programs = [
        ("skyfare /s", [os.path.join(build, "bin", "skyfare"), "/s"],
         (SCREEN[0] // 2, SCREEN[1] // 2), 0),
        ("skyfare-hack", [os.path.join(build, "libexec", "skyfare", "skyfare-hack")],
         (400, 300), -signal.SIGTERM),
    ]
    for needed in [first_frame_wait] + [command[0] for _, command, _, _ in programs]:
        if not os.access(needed, os.X_OK):
            sys.exit(f"build first: {needed} not found")

    with tempfile.TemporaryDirectory() as work:
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        server = DeafServer(os.path.join(work, "deaf.socket"))
        xvfb, display = start_xvfb(work)
        env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime,
                   XDG_CONFIG_HOME=os.path.join(work, "config"), SDL_AUDIODRIVER="pulseaudio",
                   PULSE_SERVER="unix:" + os.path.join(work, "deaf.socket"))
        env.pop("QT_QPA_PLATFORM", None)
        cold_runs = 0
        try:
            for load in ("idle", "two busy loops" if os.cpu_count() == 2 else "busy loops"):
                loops = busy_loops() if load != "idle" else []
                try:
                    for name, command, centre, expected_status in programs:
                        times = []
                        for _ in range(options.runs):
                            if options.cold:
                                cold_runs += 1
                                env["FONTCONFIG_FILE"] = cold_fontconfig(work, cold_runs)
                            ended_ms, status = end_after_sigterm_ms(
                                command, env, first_frame_wait, centre, server)
                            if status != expected_status:
                                sys.exit(f"deaf_end: {name} ended with {status}")
                            times.append(ended_ms)
                        print(f"{name:<13} {load:<15} {options.runs} runs: SIGTERM to gone "
                              f"min {min(times):6.1f}  median {statistics.median(times):6.1f}  "
                              f"max {max(times):6.1f} ms", flush=True)
                finally:
                    for loop in loops:
                        loop.kill()
                        loop.wait()
        finally:
            xvfb.kill()
            xvfb.wait()


if __name__ == "__main__":
    main()
