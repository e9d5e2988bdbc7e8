#!/usr/bin/python3
"""Click to sound: how long from a click on the player's real window (or from exec, for a file
opened from the file manager) to the first sound of the chosen track on a private PulseAudio
null sink, beside the floor: a bare window whose playbin is already prerolled and waiting, set
playing by the same click.

Each figure is the median of several runs in this one run. GStreamer's registry is built once
before any run and shared by the player and the floor, as a user meets them; a user's first
run ever, which builds the registry, is measured on its own line.

The sound's onset is found on the recording itself: the start of the first stretch of 20 ms
whose chosen tone is at most 6 dB below its steady level, plus half that stretch. The click's
moment is mapped onto the recording by the recorder's clock, so the recorder's own varying lag
does not count; the player and the floor are measured the same way.

Usage: bench/sound_bench.py [--player build/velumo] [--floor build-bench/floor] [--runs 5] [--opened-only]
With --opened-only, only the file manager's row is measured, the player and its floor in turn.
Nothing here passes or fails: it prints figures.
"""

import argparse
import ctypes
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
import audio  # noqa: E402
from harness import Desktop, wait_until  # noqa: E402

STRETCH = 0.02  # seconds judged at a time when looking for a tone's onset
STEP = 0.001
LONG = 60
# The playlist, in order: name, tone in Hz, seconds. The MIDI note 79 sounds at 784 Hz.
TRACKS = [("a.wav", 440, LONG), ("b.wav", 660, LONG), ("c.mid", 784, LONG), ("d.wav", 990, 1.0),
          ("e.wav", 1210, LONG)]
ROWS = ["first play after start", "Empezar after Parar", "Avanzar", "Retroceder", "double-click",
        "end of track to next track", "MIDI (Avanzar onto it)", "opened from the file manager"]


def make_tracks(folder):
    for name, tone, seconds in TRACKS:
        if name.endswith(".mid"):
            audio.make_midi(folder / name, 79, seconds)
        else:
            audio.make_wav(folder / name, tone, seconds)


def build_registry(path):
    """Builds GStreamer's registry at path, as a user's first run leaves it."""
    env = {k: v for k, v in os.environ.items() if not k.startswith("GST_")}
    env["GST_REGISTRY"] = str(path)
    subprocess.run(["gst-inspect-1.0", "playbin"], env=env, check=True, capture_output=True, timeout=300)


def refresh_registry(desk):
    """Brings the registry up to date for the desktop's fresh home: some plug-ins depend on
    folders in the home, and GStreamer scans them again, some 100 to 250 ms, for each home it
    has not met; a user's home stays the same from one start to the next."""
    subprocess.run(["gst-inspect-1.0", "playbin"], env=desk.env, check=True, capture_output=True, timeout=300)


def tone_db(samples, rate, tone):
    return audio.amplitude_db(audio.tone_amplitude(samples, rate, tone))


def onset(ears, after, tone):
    """Seconds from sample index `after` to where `tone` starts sounding, once it is heard."""
    reading = ears.wait_for_tone(tone, after=after, tolerance=8)
    rate = ears.rate
    samples = ears.samples(after, reading.at)
    size, step = int(STRETCH * rate), max(1, int(STEP * rate))
    window = audio._hann(size)
    steady = audio.amplitude_db(audio.tone_amplitude(samples[-size:], rate, tone, window))
    for start in range(0, len(samples) - size, step):
        if audio.amplitude_db(audio.tone_amplitude(samples[start:start + size], rate, tone, window)) >= steady - 6:
            return (start + size / 2) / rate
    return (len(samples) - size / 2) / rate


def last_sound(ears, after, tone):
    """Seconds from `after` to where `tone` stops sounding, once it has stopped."""
    reading = ears.wait_for_tone(tone, after=after, tolerance=8)
    rate = ears.rate
    size, step = int(STRETCH * rate), max(1, int(STEP * rate))
    window = audio._hann(size)
    steady = reading.level_db
    position = reading.at - after

    def stopped():
        samples = ears.samples(after + position)
        for start in range(0, len(samples) - size, step):
            if tone_db(samples[start:start + size], rate, tone) < steady - 6:
                return position + start + size / 2
        return None

    return wait_until(stopped, "the tone to stop", timeout=30, interval=0.1) / rate


class Mouse:
    """Presses the mouse button through the X server's test extension from this process, so
    that the moment of a click is known to within the round trip that makes it."""

    def __init__(self, display):
        self._x = ctypes.CDLL("libX11.so.6")
        self._xtest = ctypes.CDLL("libXtst.so.6")
        self._x.XOpenDisplay.restype = ctypes.c_void_p
        self._x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self._x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._xtest.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self._display = self._x.XOpenDisplay(display.encode())

    def click(self):
        self._xtest.XTestFakeButtonEvent(self._display, 1, 1, 0)
        self._xtest.XTestFakeButtonEvent(self._display, 1, 0, 0)
        self._x.XSync(self._display, 0)
        return time.monotonic()

    def close(self):
        self._x.XCloseDisplay(self._display)


def press(desk, window, x, y, count=1):
    """Clicks (count times) at x, y of the window's client area; returns the moment of the last
    click. The pointer is moved first, so that nothing but the click itself is timed."""
    subprocess.run(["xdotool", "mousemove", "--sync", "--window", str(window), str(x), str(y)],
                   env=desk.env, check=True, capture_output=True, timeout=30)
    mouse = Mouse(desk.display)
    try:
        for _ in range(count):
            moment = mouse.click()
        return moment
    finally:
        mouse.close()


def control_point(desk, name):
    left, top, width, height = desk.control_rect(name)
    return desk.main_window(), left + width // 2, desk.menu_bar_height() + top + height // 2


def row_point(desk, row):
    left, top, width, _ = desk.control_rect("PlayList")
    return desk.main_window(), left + width // 3, desk.menu_bar_height() + top + 8 + ROW_HEIGHT * row


def timed(desk, ears, tone, point, count=1):
    """Milliseconds from a click at point (window, x, y) to the onset of the tone."""
    mark = ears.index_at(press(desk, *point, count=count))
    return 1000.0 * onset(ears, mark, tone)


def load_list(desk, music):
    """Loads the playlist of TRACKS through "Abrir", as a person would."""
    smp = desk.root / "lista.smp"
    smp.write_text("".join(f"{name}\r\n" for name, _, _ in TRACKS))
    empty = desk.control_pixels("PlayList")
    desk.click_control("cmdLoad")
    desk.activate(desk.wait_window("Abrir"))
    desk.type_text(str(smp))
    desk.key("Return")
    desk.wait(lambda: desk.control_pixels("PlayList") != empty, "the list to show")


def session(env, player, music):
    """One player session through every clicked row; returns {row: milliseconds}."""
    figures = {}
    with audio.SoundServer() as server, server.recorder() as ears, Desktop(tray=True, env=env) as desk:
        desk.add_env(server.client_env())
        run = desk.start_player(files={"Dir.txt": f"{music}/\r\n"}, binary=player)
        desk.main_window()
        load_list(desk, music)
        low, high, midi, short, after_short = (tone for _, tone, _ in TRACKS)
        press(desk, *row_point(desk, 0))
        play, stop, forward, back = (control_point(desk, name) for name in ("cmdPlay", "cmdStop", "cmdForward", "cmdBack"))
        figures[ROWS[0]] = timed(desk, ears, low, play)
        press(desk, *stop)
        ears.wait_for_silence()
        figures[ROWS[1]] = timed(desk, ears, low, play)
        figures[ROWS[2]] = timed(desk, ears, high, forward)
        figures[ROWS[3]] = timed(desk, ears, low, back)
        figures[ROWS[4]] = timed(desk, ears, high, row_point(desk, 1), count=2)
        figures[ROWS[6]] = timed(desk, ears, midi, forward)
        mark = ears.mark()
        press(desk, *forward)
        ended = last_sound(ears, mark, short)
        figures[ROWS[5]] = 1000.0 * (onset(ears, mark, after_short) - ended)
        if not run.alive():
            raise RuntimeError("the player ended during the bench")
    return figures


# The playlist's rows in the player's default font, in pixels.
ROW_HEIGHT = 14


def floor_clicks(env, floor, track, tone, again):
    """The floor's click to sound on a freshly prerolled file (after a first click elsewhere in
    its window, as the player has had clicks before its first play), then `again` times after
    it was stopped and prerolled again at its start."""
    with audio.SoundServer() as server, server.recorder() as ears, Desktop(env=env) as desk:
        desk.add_env(server.client_env())
        process = desk.spawn([str(floor), "--play", str(track)])
        window = desk.wait_window("Floor", pid=process.pid)
        press(desk, window, 200, 220)
        button = (window, 200, 75)
        figures = []
        for _ in range(1 + again):
            figures.append(timed(desk, ears, tone, button))
            press(desk, *button)
            ears.wait_for_silence()
        return figures[0], figures[1:]


def exec_to_sound(env, command, tone, first_run=False):
    """Milliseconds from exec of command(desk), a program's arguments, to the first sound of
    `tone`; with first_run, the registry is left as a user's first run finds it."""
    with audio.SoundServer() as server, server.recorder() as ears, Desktop(tray=True, env=env) as desk:
        desk.add_env(server.client_env())
        if not first_run:
            refresh_registry(desk)
        args = command(desk)
        mark = ears.index_at(time.monotonic())
        process = desk.spawn(args)
        figure = 1000.0 * onset(ears, mark, tone)
        if process.poll() is not None:
            raise RuntimeError("the program ended before it played")
        return figure


def opened(player, track):
    return lambda desk: [str(copy_player(desk, player)), str(track)]


def copy_player(desk, player):
    """The player copied into a program folder of its own, as start_player makes it."""
    folder = Path(tempfile.mkdtemp(prefix="program-", dir=desk.root))
    program = folder / Path(player).name
    shutil.copy2(player, program)
    return program


def median_line(name, figures, floor=None):
    line = f"{name:30s} median {statistics.median(figures):6.0f} ms  (min {min(figures):4.0f}, max {max(figures):4.0f})"
    if floor is not None:
        line += f"   floor {statistics.median(floor):5.0f} ms"
    print(line, flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--player", type=Path, default=Path("build/velumo"))
    parser.add_argument("--floor", type=Path, default=Path("build-bench/floor"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--opened-only", action="store_true", help="only the file manager's row")
    args = parser.parse_args()
    player, floor = args.player.resolve(), args.floor.resolve()

    with tempfile.TemporaryDirectory(prefix="velumo-sound-bench-") as scratch:
        scratch = Path(scratch)
        music = scratch / "musica"
        music.mkdir()
        make_tracks(music)
        registry = scratch / "registry.bin"
        build_registry(registry)
        built = {"GST_REGISTRY": str(registry)}
        if args.opened_only:
            opened_row(built, player, floor, music, args.runs)
            return

        rows = {row: [] for row in ROWS}
        for run in range(args.runs):
            for row, figure in session(built, player, music).items():
                rows[row].append(figure)
            progress(f"player session {run + 1} of {args.runs}")
        low_track, low = music / TRACKS[0][0], TRACKS[0][1]
        for _ in range(args.runs):
            rows[ROWS[7]].append(exec_to_sound(built, opened(player, low_track), low))
        progress("player opened from the file manager")
        floor_wav = [floor_clicks(built, floor, low_track, low, 1) for _ in range(args.runs)]
        first_floor = [first for first, _ in floor_wav]
        again_floor = [again for _, agains in floor_wav for again in agains]
        midi_first, midi_again = floor_clicks(built, floor, music / TRACKS[2][0], TRACKS[2][1], args.runs)
        floor_exec = [exec_to_sound(built, lambda desk: [str(floor), "--play-now", str(low_track)], low)
                      for _ in range(args.runs)]
        progress("floors")

        first_ever = []
        for run in range(3):
            fresh = {"GST_REGISTRY": str(scratch / f"fresh-{run}.bin")}
            first_ever.append(exec_to_sound(fresh, opened(player, low_track), low, first_run=True))

    print(f"click to sound on a null sink, medians of {args.runs} runs, registry built; "
          f"the floor is a prerolled playbin set playing by the same click")
    median_line(ROWS[0], rows[ROWS[0]], first_floor)
    for row in ROWS[1:6]:
        median_line(row, rows[row], again_floor)
    median_line(ROWS[6], rows[ROWS[6]], midi_again)
    median_line(ROWS[7], rows[ROWS[7]], floor_exec)
    print("  floors: first play, a freshly prerolled file's first press; the next rows, a press after")
    print("  the floor stopped and prerolled the file again at its start; MIDI, the same on a MIDI file")
    print(f"  (a freshly prerolled MIDI file's first press: {midi_first:.0f} ms); the file manager,")
    print("  a bare Qt window that plays the file with playbin as soon as it is shown")
    median_line("first run ever, opened (3 runs)", first_ever)


def opened_row(env, player, floor, music, runs):
    """The file manager's row alone, the player and the floor measured in turn, so that a change
    in the machine's load falls on both alike."""
    track, tone = music / TRACKS[0][0], TRACKS[0][1]
    players, floors = [], []
    for run in range(runs):
        players.append(exec_to_sound(env, opened(player, track), tone))
        floors.append(exec_to_sound(env, lambda desk: [str(floor), "--play-now", str(track)], tone))
        progress(f"pair {run + 1} of {runs}: player {players[-1]:.0f} ms, floor {floors[-1]:.0f} ms")
    print(f"exec to sound, medians of {runs} pairs measured in turn")
    median_line(ROWS[7], players, floors)


def progress(text):
    print(f"[{time.strftime('%H:%M:%S')}] {text}", file=sys.stderr, flush=True)


if __name__ == "__main__":
    main()
