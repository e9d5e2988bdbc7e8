#!/usr/bin/python3
"""Figures for playing a track from the player's own window, on a private desktop and a
private PulseAudio null sink, as a person would use it:

- how long from the click on "Empezar" to the first audible sound on the sink (measured on
  the recording itself, so the recorder's polling does not count), for the first start of
  a fresh session (which also pays for GStreamer building its plugin registry in the new
  home folder) and for a start after "Detener";
- how much processor time the player's process uses while a track plays.

Usage: bench/play_bench.py [--binary build/velumo] [--runs 5] [--seconds 10]
"""

import argparse
import os
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
import audio  # noqa: E402
from harness import Desktop  # noqa: E402

TONE = 440
AUDIBLE_DB = -40.0
SLICE = 0.01  # seconds of recording judged at a time when looking for the first sound


def first_sound(ears, after):
    """The sample index of the first slice after `after` that is louder than AUDIBLE_DB."""
    size = int(SLICE * ears.rate)
    samples = ears.samples(after)
    for start in range(0, len(samples) - size, size):
        if audio.level_db(samples[start:start + size]) > AUDIBLE_DB:
            return after + start
    return None


def processor_seconds(pid):
    """User and system time the process has used so far, from the kernel's accounting."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def one_run(binary, seconds):
    with audio.SoundServer() as server, server.recorder() as ears, Desktop(tray=True) as desk:
        desk.add_env(server.client_env())
        track = audio.make_wav(desk.root / "tono.wav", TONE, seconds + 30)
        player = desk.start_player(binary=binary)
        desk.main_window()
        desk.click_control("cdmAdd")
        desk.activate(desk.wait_window("Abrir"))
        desk.type_text(str(track))
        desk.key("Return")
        desk.wait(lambda: player.path("Dir.txt").exists(), "the track to be added")
        ears.wait_for_silence()

        first_ms = click_to_sound(desk, ears)
        desk.click_control("cmdStop")
        ears.wait_for_silence()
        again_ms = click_to_sound(desk, ears)

        used = processor_seconds(player.pid)
        began = time.monotonic()
        ears.wait_for_tone(TONE, timeout=seconds + 30, after=ears.mark() + int(seconds * ears.rate))
        cpu = 100.0 * (processor_seconds(player.pid) - used) / (time.monotonic() - began)
        return first_ms, again_ms, cpu


def click_to_sound(desk, ears):
    mark = ears.mark()
    desk.click_control("cmdPlay")
    ears.wait_for_tone(TONE, after=mark)
    return 1000.0 * (first_sound(ears, mark) - mark) / ears.rate


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", default=os.environ.get("VELUMO_BINARY", "build/velumo"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--seconds", type=float, default=10.0, help="how long to measure processor use")
    args = parser.parse_args()
    binary = str(Path(args.binary).resolve())

    firsts, agains, cpus = [], [], []
    for run in range(args.runs):
        first_ms, again_ms, cpu = one_run(binary, args.seconds)
        firsts.append(first_ms)
        agains.append(again_ms)
        cpus.append(cpu)
        print(f"run {run + 1}: click to sound {first_ms:7.1f} ms first, {again_ms:7.1f} ms after a stop; "
              f"player's processor use {cpu:5.1f} %", flush=True)
    for name, figures in (("first start", firsts), ("start after a stop", agains)):
        print(f"click to sound, {name}: median {statistics.median(figures):.1f} ms, "
              f"min {min(figures):.1f} ms, max {max(figures):.1f} ms")
    print(f"processor use while playing: median {statistics.median(cpus):.1f} % of one core, "
          f"max {max(cpus):.1f} %")


if __name__ == "__main__":
    main()
