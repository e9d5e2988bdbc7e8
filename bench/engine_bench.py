#!/usr/bin/python3
"""Figures for the media engine, measured through the engine probe program:

- how long StartPlayback takes until the length is known, for each kind of file (the first
  start of a process also pays for GStreamer starting);
- how long naming and starting an unplayable file takes to fail;
- how much processor time the engine's process uses while an MP3 plays.

Usage: bench/engine_bench.py [--probe build/tests/engineprobe] [--runs 7] [--fakesink]

By default the sound goes to a private PulseAudio null sink, as in the listening tests;
--fakesink plays on GStreamer's fakesink, which keeps time but needs no sound server.
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
import audio  # noqa: E402

FAKESINK = "fakesink sync=true"


class Probe:
    def __init__(self, program, env, sink):
        args = [program] + ([sink] if sink else [])
        self.process = audio.spawn(args, env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True, bufsize=1)

    def command(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        while True:
            reply = self.process.stdout.readline().strip()
            if not reply:
                raise RuntimeError(f"the probe ended while answering {line!r}")
            if reply != "ended":
                return reply

    def start_ms(self, path):
        """Names the file and starts it; the milliseconds StartPlayback took and the length."""
        self.command(f"file {path}")
        reply = self.command("start").split()
        return float(reply[1]), (reply[2] if len(reply) > 2 else "-"), reply[0] == "ok"

    def cpu_seconds(self):
        fields = Path(f"/proc/{self.process.pid}/stat").read_text().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def close(self):
        audio.stop_process(self.process)
        self.process.stdin.close()
        self.process.stdout.close()


def make_files(root):
    fifo = root / "pipe.mp3"
    os.mkfifo(fifo)
    (root / "empty.mp3").write_bytes(b"")
    (root / "noise.mp3").write_bytes(os.urandom(4096))
    return {
        "wav": audio.make_wav(root / "tone.wav", 440, 3),
        "mp3": audio.make_mp3(root / "tone.mp3", 440, 3),
        "mp3 without length header": audio.make_mp3(root / "bare.mp3", 440, 3, length_header=False),
        "midi": audio.make_midi(root / "note.mid", 69, 3),
        "mpg": audio.make_mpg(root / "clip.mpg", 440, 3),
    }, {
        "missing": root / "missing.mp3",
        "empty": root / "empty.mp3",
        "random bytes": root / "noise.mp3",
        "folder": root,
        "fifo": fifo,
    }, audio.make_mp3(root / "long.mp3", 440, 20)


def bench_starts(probe, files, runs):
    print(f"StartPlayback until the length is known (median of {runs}, ms):")
    for kind, path in files.items():
        times = []
        for _ in range(runs):
            ms, length, _ = probe.start_ms(path)
            times.append(ms)
            probe.command("stop")
        print(f"  {kind:28s} {statistics.median(times):8.1f}   (min {min(times):.1f}, max {max(times):.1f}, "
              f"length {length} s)")


def bench_failures(probe, bad, runs):
    print(f"Naming and starting an unplayable file until it fails (median of {runs}, ms):")
    for kind, path in bad.items():
        times = []
        for _ in range(runs):
            begin = time.perf_counter()
            _, _, ok = probe.start_ms(path)
            times.append((time.perf_counter() - begin) * 1000)
            assert not ok, f"{kind} started"
        print(f"  {kind:28s} {statistics.median(times):8.1f}   (max {max(times):.1f}; includes the pipe to the probe)")


def bench_cpu(probe, path, seconds=10.0):
    probe.start_ms(path)
    settle = time.monotonic() + 1.0
    while time.monotonic() < settle:
        time.sleep(0.05)
    cpu_before, wall_before = probe.cpu_seconds(), time.monotonic()
    while time.monotonic() - wall_before < seconds:
        time.sleep(0.1)
    cpu = probe.cpu_seconds() - cpu_before
    wall = time.monotonic() - wall_before
    probe.command("stop")
    print(f"Processor time of the engine's process while an MP3 plays: {100 * cpu / wall:.2f} % of one core "
          f"({cpu:.2f} s over {wall:.1f} s)")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--probe", default=os.environ.get("VELUMO_ENGINEPROBE", "build/tests/engineprobe"))
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--fakesink", action="store_true")
    options = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="velumo-bench-") as folder:
        files, bad, long_mp3 = make_files(Path(folder))
        server = None if options.fakesink else audio.SoundServer().start()
        try:
            env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=audio.DEAD_BUS) if server is None else server.env()
            sink = FAKESINK if server is None else None
            print(f"Audio output: {'fakesink' if server is None else 'private PulseAudio null sink'}")
            for kind, path in files.items():
                probe = Probe(options.probe, env, sink)
                ms, _, _ = probe.start_ms(path)
                probe.close()
                print(f"First StartPlayback of a process (GStreamer starting), {kind}: {ms:.1f} ms")
            probe = Probe(options.probe, env, sink)
            try:
                bench_starts(probe, files, options.runs)
                bench_failures(probe, bad, options.runs)
                bench_cpu(probe, long_mp3)
            finally:
                probe.close()
        finally:
            if server:
                server.stop()


if __name__ == "__main__":
    main()
