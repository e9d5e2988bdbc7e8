#!/usr/bin/python3
"""Figures for the whole player, each the median of several runs, beside a floor program (a
bare Qt Widgets window that starts GStreamer and shows one window):

- start-up: from exec to the main window mapped on an Xvfb display, and its ratio to the floor's,
  with GStreamer's registry built for both, as a user meets them;
- memory: resident and proportional set size 2 s after start, idle, and while an MP3 plays
  (pressed at once, pressed once GStreamer has started in the background, named on the
  command line);
- CPU: seconds of processor time over 20 s of MP3 playback, beside gst-launch-1.0 playing the
  same file with a fake video sink;
- scale: loading a 32767-line playlist file through "Abrir", until the window answers again,
  and the memory after.

Usage: bench/player_bench.py --player build/velumo --floor build-bench/floor [--runs 5] [--dialog-memory]
With --dialog-memory, only the file dialog's share is measured: the player playing an MP3 added
through "Agregar" and the same MP3 named on its command line, in turn, each 3 s into the tone,
and the mappings of /proc/<pid>/smaps that differ most between the two of the last pair.
Nothing here passes or fails: it prints figures.
"""

import argparse
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
import audio  # noqa: E402
from harness import Desktop, MAIN_TITLE, wait_until  # noqa: E402
from sound_bench import build_registry  # noqa: E402

PLAY_SECONDS = 20
WARM_WAIT = 5.0


def memory_kb(pid):
    """Resident and proportional set size of a process, in kB."""
    fields = {}
    for line in Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines()[1:]:
        name, value = line.split(":", 1)
        fields[name] = int(value.split()[0])
    return fields["Rss"], fields["Pss"]


def cpu_seconds(pid):
    stat = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    ticks = int(stat[11]) + int(stat[12])
    return ticks / 100.0


def time_to_map(desk, command, title):
    """Seconds from starting the command to its window being mapped, and the process."""
    start = time.monotonic()
    process = desk.spawn([str(word) for word in command])
    wait_until(lambda: desk.find_windows(title, process.pid), f"{title} mapped", timeout=60, interval=0.005)
    return time.monotonic() - start, process


def start_up(args, registry):
    # The floor with one line of text tells apart what any window that draws text costs.
    programs = (("player", [args.player], MAIN_TITLE), ("floor", [args.floor], "Floor"),
                ("floor with a line of text", [args.floor, "--text"], "Floor"))
    rows = {name: [] for name, _, _ in programs}
    idle = {name: [] for name, _, _ in programs}
    for _ in range(args.runs):
        for name, command, title in programs:
            with Desktop(tray=True, env={"GST_REGISTRY": str(registry)}) as desk:
                seconds, process = time_to_map(desk, command, title)
                rows[name].append(seconds)
                deadline = time.monotonic() + 2.0
                wait_until(lambda: time.monotonic() >= deadline, "2 s after start", interval=0.1)
                idle[name].append(memory_kb(process.pid))
    player = statistics.median(rows["player"])
    floor = statistics.median(rows["floor"])
    print(f"start-up to window mapped: player {player * 1000:.0f} ms, floor {floor * 1000:.0f} ms, "
          f"ratio {player / floor:.2f}")
    for name in idle:
        rss = statistics.median(r for r, _ in idle[name]) / 1024
        pss = statistics.median(p for _, p in idle[name]) / 1024
        print(f"idle memory 2 s after start, {name}: RSS {rss:.1f} MB, PSS {pss:.1f} MB")


def smaps_by_mapping(pid):
    """Resident kB of each mapping of a process by its name: a library, [heap] or anonymous."""
    totals, name = {}, "?"
    for line in Path(f"/proc/{pid}/smaps").read_text().splitlines():
        fields = line.split()
        if "-" in fields[0] and len(fields) >= 5:
            name = Path(fields[5]).name if len(fields) > 5 else "anonymous"
        elif fields[0] == "Rss:":
            totals[name] = totals.get(name, 0) + int(fields[1])
    return totals


def add_and_play(desk, track, wait=0.0):
    """Adds the track through "Agregar" and presses "Empezar", wait seconds later."""
    desk.click_control("cdmAdd")
    desk.activate(desk.wait_window("Abrir"))
    desk.type_text(str(track))
    desk.key("Return")
    desk.wait_window_gone("Abrir")
    deadline = time.monotonic() + wait
    wait_until(lambda: time.monotonic() >= deadline, "the wait before Empezar", timeout=wait + 5, interval=0.1)
    desk.click_control("cmdPlay")


def cpu_over_playback(pid):
    """Seconds of processor time the process uses over PLAY_SECONDS."""
    before = cpu_seconds(pid)
    deadline = time.monotonic() + PLAY_SECONDS
    wait_until(lambda: time.monotonic() >= deadline, "playback", timeout=PLAY_SECONDS + 5, interval=0.2)
    return cpu_seconds(pid) - before


def play_once(args):
    """The player's memory and processor time while an MP3 added through "Agregar" plays, and
    the processor time of gst-launch-1.0 playing the same file."""
    with audio.SoundServer() as server:
        with Desktop(tray=True) as desk:
            desk.add_env(server.client_env())
            track = audio.make_mp3(desk.root / "tono.mp3", 440, 2 * PLAY_SECONDS + 10)
            player = desk.start_player(binary=args.player)
            desk.main_window()
            # A recording of the sink makes the sound server ask every client for sound
            # more often, so the recorder stops once the tone is heard.
            with server.recorder() as ears:
                mark = ears.mark()
                add_and_play(desk, track)
                ears.wait_for_tone(440, after=mark)
            used = cpu_over_playback(player.pid)
            rss, pss = memory_kb(player.pid)
            launch = desk.spawn(["gst-launch-1.0", "-q", "playbin", f"uri=file://{track}",
                                 "video-sink=fakesink"])
            wait_until(lambda: cpu_seconds(launch.pid) > 0, "gst-launch to start", timeout=30)
            return rss, pss, used, cpu_over_playback(launch.pid)


def memory_while_playing(args, command):
    """Memory of a program started with an MP3 to play at once, a few seconds into the tone."""
    with audio.SoundServer() as server, Desktop(tray=True) as desk:
        desk.add_env(server.client_env())
        track = audio.make_mp3(desk.root / "tono.mp3", 440, 30)
        with server.recorder() as ears:
            mark = ears.mark()
            process = desk.spawn(command(track))
            ears.wait_for_tone(440, after=mark)
        time.sleep(3)
        return memory_kb(process.pid)


def memory_3s_into_tone(player, named):
    """Memory and mappings of the player 3 s into an MP3's tone: the MP3 named on its command
    line, or else added through "Agregar" and played with "Empezar"."""
    with audio.SoundServer() as server, Desktop(tray=True) as desk:
        desk.add_env(server.client_env())
        track = audio.make_mp3(desk.root / "tono.mp3", 440, 30)
        with server.recorder() as ears:
            mark = ears.mark()
            if named:
                pid = desk.spawn([str(player), str(track)]).pid
            else:
                pid = desk.start_player(binary=player).pid
                desk.main_window()
                add_and_play(desk, track)
            ears.wait_for_tone(440, after=mark)
        deadline = time.monotonic() + 3
        wait_until(lambda: time.monotonic() >= deadline, "3 s of playback", interval=0.1)
        return memory_kb(pid)[0], smaps_by_mapping(pid)


def dialog_memory(args):
    """The file dialog's share: "Agregar" and the command line in turn, medians of the pairs."""
    dialog, named = [], []
    for run in range(args.runs):
        dialog.append(memory_3s_into_tone(args.player, named=False))
        named.append(memory_3s_into_tone(args.player, named=True))
        print(f"[pair {run + 1}] Agregar {dialog[-1][0] / 1024:.1f} MB, command line {named[-1][0] / 1024:.1f} MB",
              file=sys.stderr, flush=True)
    rss_dialog = statistics.median(r for r, _ in dialog) / 1024
    rss_named = statistics.median(r for r, _ in named) / 1024
    print(f"while an MP3 plays, 3 s into it, medians of {args.runs} pairs: added through \"Agregar\" "
          f"RSS {rss_dialog:.1f} MB, named on the command line RSS {rss_named:.1f} MB, "
          f"difference {rss_dialog - rss_named:.1f} MB")
    last_dialog, last_named = dialog[-1][1], named[-1][1]
    differences = {name: last_dialog.get(name, 0) - last_named.get(name, 0)
                   for name in set(last_dialog) | set(last_named)}
    print("  mappings that differ most in the last pair (kB, Agregar minus command line):")
    for name, kb in sorted(differences.items(), key=lambda item: -abs(item[1]))[:12]:
        print(f"    {kb:+6d}  {name}")


def playing_at_once(args):
    """The player with the MP3 named on its command line beside the floor playing it through
    playbin as soon as its window shows: what playing costs without any dialog."""
    # The player leaves MP3 to mpg123 where libav's decoder would tie with it; the floor is
    # shown both as playbin chooses and with that same choice.
    same_decoder = ["env", "GST_PLUGIN_FEATURE_RANK=mpg123audiodec:secondary"]
    programs = (("player, the MP3 named on its command line", lambda track: [str(args.player), str(track)]),
                ("floor playing it with playbin", lambda track: [str(args.floor), "--play-now", str(track)]),
                ("floor playing it with playbin through mpg123",
                 lambda track: same_decoder + [str(args.floor), "--play-now", str(track)]),
                ("floor showing one line of text, playing it through mpg123",
                 lambda track: same_decoder + [str(args.floor), "--text", "--play-now", str(track)]))
    for name, command in programs:
        runs = [memory_while_playing(args, command) for _ in range(args.runs)]
        rss, pss = (statistics.median(run[i] for run in runs) for i in range(2))
        print(f"while an MP3 plays, {name}: RSS {rss / 1024:.1f} MB, PSS {pss / 1024:.1f} MB")


def memory_after_warm_up(args):
    """The player's memory while an MP3 plays that was added through "Agregar" WARM_WAIT s before
    "Empezar", so that GStreamer had started in the background for the playlist's kinds."""
    with audio.SoundServer() as server, Desktop(tray=True) as desk:
        desk.add_env(server.client_env())
        track = audio.make_mp3(desk.root / "tono.mp3", 440, 30)
        player = desk.start_player(binary=args.player)
        desk.main_window()
        with server.recorder() as ears:
            mark = ears.mark()
            add_and_play(desk, track, wait=WARM_WAIT)
            ears.wait_for_tone(440, after=mark)
        deadline = time.monotonic() + 3
        wait_until(lambda: time.monotonic() >= deadline, "3 s of playback", interval=0.1)
        return memory_kb(player.pid)


def playing_after_warm_up(args):
    runs = [memory_after_warm_up(args) for _ in range(args.runs)]
    rss, pss = (statistics.median(run[i] for run in runs) for i in range(2))
    print(f"while an MP3 plays, added through \"Agregar\" {WARM_WAIT:g} s before \"Empezar\": "
          f"RSS {rss / 1024:.1f} MB, PSS {pss / 1024:.1f} MB")


def playing(args):
    runs = [play_once(args) for _ in range(args.runs)]
    rss, pss, used, used_launch = (statistics.median(run[i] for run in runs) for i in range(4))
    print(f"while an MP3 plays: RSS {rss / 1024:.1f} MB, PSS {pss / 1024:.1f} MB, "
          f"CPU {used:.2f} s over {PLAY_SECONDS} s ({100 * used / PLAY_SECONDS:.2f} % of a core; "
          f"runs from {100 * min(run[2] for run in runs) / PLAY_SECONDS:.2f} to "
          f"{100 * max(run[2] for run in runs) / PLAY_SECONDS:.2f} %)")
    print(f"gst-launch-1.0 playbin of the same file: CPU {used_launch:.2f} s over {PLAY_SECONDS} s "
          f"({100 * used_launch / PLAY_SECONDS:.2f} % of a core)")


def load_until_answer(args, entries):
    """Seconds from Return in "Abrir" to a menu opened right after the dialog has gone (the key
    press waits in the queue until the load has run to its end), and the memory after. The
    waits poll every few milliseconds, so that the figure is the player's more than the polling's."""
    with Desktop(tray=True) as desk:
        names = "".join(f"tema {i:05d}.mp3\r\n" for i in range(entries))
        playlist = desk.root / "grande.smp"
        playlist.write_text(names)
        player = desk.start_player(files={"Dir.txt": "/tmp/musica/\r\n"}, binary=args.player)
        main = desk.main_window()
        desk.click_control("cmdLoad")
        desk.activate(desk.wait_window("Abrir"))
        desk.type_text(str(playlist))
        before = desk.shown_windows(player.pid)
        start = time.monotonic()
        desk.key("Return")
        # The main window has the keyboard again once its dialog has gone.
        wait_until(lambda: not desk.find_windows("Abrir", player.pid), "the dialog to close", 60, interval=0.002)
        desk.key("alt+a")
        wait_until(lambda: desk.shown_windows(player.pid) - before - {main}, "the menu to open", 60, interval=0.002)
        return time.monotonic() - start, memory_kb(player.pid)[0]


def large_playlist(args):
    for entries in (32767, 1):
        runs = [load_until_answer(args, entries) for _ in range(args.runs)]
        seconds = statistics.median(s for s, _ in runs)
        rss = statistics.median(r for _, r in runs) / 1024
        print(f"loading {entries} entries until the window answers: {seconds:.2f} s, RSS after {rss:.1f} MB")
    print("  (the one-entry load is the floor of the method: the dialog closing and a menu opening)")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--player", type=Path, required=True)
    parser.add_argument("--floor", type=Path, required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--dialog-memory", action="store_true", help="only the file dialog's share")
    args = parser.parse_args()
    args.player = args.player.resolve()
    args.floor = args.floor.resolve()
    if args.dialog_memory:
        dialog_memory(args)
        return
    # GStreamer's registry is built once, as a user's first run leaves it, for all alike.
    with tempfile.TemporaryDirectory(prefix="velumo-player-bench-") as scratch:
        registry = Path(scratch) / "registry.bin"
        build_registry(registry)
        start_up(args, registry)
    playing(args)
    playing_after_warm_up(args)
    playing_at_once(args)
    large_playlist(args)


if __name__ == "__main__":
    main()
