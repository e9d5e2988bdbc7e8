#!/usr/bin/python3
"""The joint between two tracks: the longest silence heard on a private PulseAudio null sink
while the player plays two halves of one continuous 1000 Hz tone, the two files named on its
command line, so the first plays and the second follows it as the next row. One row for
each kind of file, and for a change of sample rate or of channel count at the joint; each
figure is the median of several runs.

Beside the player: the player before the next track was queued (--before, a build of an
older commit), and a command-line player that joins tracks itself (mpv, when installed).
With --probe, also how long after the joint is heard the engine tells that the queued file
started (two tones one after the other, through the engine probe program).

Then the joints of several tracks one after another, the player alone: tracks shorter than a
second, and a change of format at each joint, where the silence at each joint is given.

A continuous tone at 48 kHz has no quiet stretch longer than a sample (0.02 ms): a longer
one is a gap.

Usage: bench/gapless_bench.py --player build/velumo [--before old/velumo]
                              [--probe build/tests/engineprobe] [--runs 5] [--chains-only]
Nothing here passes or fails: it prints figures.
"""

import argparse
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
import audio  # noqa: E402
from harness import Desktop  # noqa: E402
from sound_bench import onset  # noqa: E402

RATE = 48000  # the recording's rate
TONE = 1000
SECONDS = 1.5
SPLIT = 0.749  # where the tone is cut, in seconds; no whole number of any codec's frames


def run(args):
    subprocess.run(args, check=True, stdin=subprocess.DEVNULL, capture_output=True, timeout=120)


def encode(wav, kind):
    """wav in the kind of file asked for, beside it."""
    if kind == "wav":
        return wav
    target = wav.with_suffix("." + kind.split()[0])
    if kind == "mp3":
        run(["lame", "--quiet", "-b", "192", str(wav), str(target)])
    elif kind == "mp3 bare":
        target = wav.with_suffix(".bare.mp3")
        run(["lame", "--quiet", "-t", "-b", "192", str(wav), str(target)])
    else:
        run(["ffmpeg", "-loglevel", "error", "-y", "-i", str(wav), str(target)])
    return target


def halves(folder, kind, **change):
    """The two halves of one tone as files of kind, with any change at the joint."""
    first, second = audio.tone_halves(folder, TONE, SECONDS, SPLIT, **change)
    return encode(first, kind), encode(second, kind)


ROWS = [
    ("WAV", "wav", {}),
    ("FLAC", "flac", {}),
    ("Ogg Vorbis", "ogg", {}),
    ("MP3 with a LAME header", "mp3", {}),
    ("MP3 without a LAME header", "mp3 bare", {}),
    ("WAV, 44.1 kHz then 48 kHz", "wav", {"second_rate": 48000}),
    ("WAV, stereo then mono", "wav", {"second_channels": 1}),
]


# Several tracks in a row, each (rate, channels, seconds), as one tone cut at their ends; and how
# many times each is measured.
CHAINS = [
    ("WAV, five tracks of 0.6 s", "wav", [(44100, 2, 0.6)] * 5, 10),
    ("FLAC, five tracks of 0.6 s", "flac", [(44100, 2, 0.6)] * 5, 10),
    ("22.05 kHz mono, 44.1 stereo, 48 stereo", "wav", [(22050, 1, 1.0), (44100, 2, 1.0), (48000, 2, 1.0)], 5),
    ("48 kHz stereo, 44.1 stereo, 22.05 mono", "wav", [(48000, 2, 1.0), (44100, 2, 1.0), (22050, 1, 1.0)], 5),
]
GAP_MS = 0.1  # a quiet stretch longer than this, five samples of the recording, is a gap


def pieces(folder, kind, parts):
    """One tone cut into files of kind, one after another, each at its own rate and channels."""
    folder.mkdir()
    files, start = [], 0.0
    for number, (rate, channels, seconds) in enumerate(parts):
        whole = folder / f"whole-{number}.wav"
        piece = folder / f"{number}.wav"
        run(["sox", "-n", "-r", str(rate), "-c", str(channels), "-b", "16", str(whole), "synth",
             str(start + seconds + 0.1), "sine", str(TONE), "vol", "0.5"])
        run(["sox", str(whole), str(piece), "trim", f"{round(start * rate)}s", f"{round(seconds * rate)}s"])
        files.append(encode(piece, kind))
        start += seconds
    return files


def gaps_at_joints(samples, parts):
    """The silence at each joint, in ms: each quiet stretch longer than GAP_MS is put at the joint
    nearest to where it falls once the silences before it are taken out."""
    peak = max(abs(x) for x in samples)
    first, last = audio.sounding(samples)
    ends = [sum(seconds for _, _, seconds in parts[:n + 1]) for n in range(len(parts) - 1)]
    gaps = [0.0] * len(ends)
    stretch = heard_silence = 0
    for index in range(first, last + 1):
        if abs(samples[index]) < peak * 0.05:
            stretch += 1
            continue
        ms = 1000.0 * stretch / RATE
        if ms > GAP_MS:
            at = (index - stretch - first) / RATE - heard_silence / 1000.0
            joint = min(range(len(ends)), key=lambda n: abs(ends[n] - at))
            gaps[joint] += ms
            heard_silence += ms
        stretch = 0
    return gaps


def chains(args, scratch):
    with audio.SoundServer() as server, server.recorder(rate=RATE) as ears, Desktop(tray=True) as desk:
        desk.add_env(server.client_env())
        start = programs(args, desk, server)["player"]
        print("the player's silence at each joint of several tracks, ms:")
        for number, (title, kind, parts, runs) in enumerate(CHAINS):
            files = pieces(scratch / f"chain{number}", kind, parts)
            figures = []
            for _ in range(runs):
                mark = ears.mark()
                process = start(*files)
                heard = ears.wait_for_tone(TONE, after=mark)
                ears.wait_for_silence(after=heard.at)
                audio.stop_process(process)
                figures.append(gaps_at_joints(ears.samples(mark), parts))
            silent = sum(1 for gaps in figures if any(gaps))
            worst = [max(gaps[n] for gaps in figures) for n in range(len(parts) - 1)]
            medians = [statistics.median(gaps[n] for gaps in figures) for n in range(len(parts) - 1)]
            print(f"  {title:40s} runs with a gap {silent} of {runs}; at each joint, median "
                  + " / ".join(f"{m:.2f}" for m in medians) + ", longest " + " / ".join(f"{w:.2f}" for w in worst),
                  flush=True)


def joint_ms(ears, start):
    """Starts a program that plays the two halves, waits until it has played them, and
    returns the longest silence in between."""
    mark = ears.mark()
    process = start()
    heard = ears.wait_for_tone(TONE, after=mark)
    ears.wait_for_silence(after=heard.at)
    audio.stop_process(process)
    return audio.longest_quiet_ms(ears.samples(mark), RATE)


def programs(args, desk, server):
    """Each program to measure, as a function that starts it on the two files."""
    found = {}
    for name, binary in (("before", args.before), ("player", args.player)):
        if binary:
            folder = Path(tempfile.mkdtemp(prefix="program-", dir=desk.root))
            program = folder / binary.name
            shutil.copy2(binary, program)
            found[name] = lambda *files, program=program: desk.spawn([str(program)] + [str(f) for f in files])
    if shutil.which("mpv"):
        found["mpv"] = lambda a, b: desk.spawn(
            ["mpv", "--no-config", "--no-terminal", "--no-video", "--gapless-audio=yes", "--ao=pulse",
             str(a), str(b)], env=server.client_env())
    return found


def joints(args, scratch):
    with audio.SoundServer() as server, server.recorder(rate=RATE) as ears, Desktop(tray=True) as desk:
        desk.add_env(server.client_env())
        starters = programs(args, desk, server)
        print(f"longest silence at the joint of two halves of one tone, ms, median of {args.runs} runs:")
        print(f"  {'':28s}" + "".join(f"{name:>12s}" for name in starters))
        for number, (title, kind, change) in enumerate(ROWS):
            first, second = halves(scratch / f"row{number}", kind, **change)
            figures = {name: statistics.median(joint_ms(ears, lambda: start(first, second))
                                               for _ in range(args.runs))
                       for name, start in starters.items()}
            print(f"  {title:28s}" + "".join(f"{figures[name]:12.2f}" for name in starters), flush=True)


def event_after_joint(args, scratch):
    """Milliseconds from the joint heard on the sink to the engine telling that the queued file
    started, through the engine probe: a tone of 440 Hz, then one of 880 Hz queued after it."""
    first = audio.make_wav(scratch / "low.wav", 440, 2)
    second = audio.make_wav(scratch / "high.wav", 880, 2)
    figures = []
    with audio.SoundServer() as server, server.recorder(rate=8000) as ears:
        probe = audio.spawn([str(args.probe)], server.env(), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True, bufsize=1)
        try:
            for _ in range(args.runs):
                for line in (f"next {second}", f"file {first}", "start"):
                    probe.stdin.write(line + "\n")
                    probe.stdin.flush()
                    probe.stdout.readline()
                mark = ears.mark()
                while probe.stdout.readline().strip() != "started":
                    pass
                told = ears.index_at(time.monotonic())
                heard = mark + int(onset(ears, mark, 880) * ears.rate)
                figures.append(1000.0 * (told - heard) / ears.rate)
                while probe.stdout.readline().strip() != "ended":
                    pass
        finally:
            audio.stop_process(probe)
    print(f"the engine tells the queued file started {statistics.median(figures):.0f} ms after its first "
          f"sound is heard (median of {args.runs}; from {min(figures):.0f} to {max(figures):.0f} ms)")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--player", type=Path, required=True)
    parser.add_argument("--before", type=Path)
    parser.add_argument("--probe", type=Path)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--chains-only", action="store_true", help="only the joints of several tracks")
    args = parser.parse_args()
    args.player = args.player.resolve()
    args.before = args.before.resolve() if args.before else None
    with tempfile.TemporaryDirectory(prefix="velumo-gapless-bench-") as scratch:
        scratch = Path(scratch)
        chains(args, scratch)
        if args.chains_only:
            return
        joints(args, scratch)
        if args.probe:
            event_after_joint(args, scratch)


if __name__ == "__main__":
    main()
