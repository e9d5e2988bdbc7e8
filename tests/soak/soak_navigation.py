"""Soak run: 300 tones of 0.2 s played end to end by the real player, through the real engine.

Run it with one command (after a build), away from the default test run:

    VELUMO_BINARY=build/velumo /usr/bin/python3 tests/soak/soak_navigation.py

It loads a playlist of 300 short WAV files through the real "Abrir" dialog, double-clicks the
first row and listens to the null sink until the player falls silent. Each file holds one of
ten tones, in a repeating order, so the recording shows whether every file played once and in
order: a file played twice, or skipped because an end of file was handled twice, breaks the
order. It also reads the player's resident memory (VmRSS) while it plays and requires it to
stay flat from the 50th file on. The figures are printed; the exit status tells pass or fail.
"""

import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "e2e"))
import audio  # noqa: E402
from harness import Desktop  # noqa: E402

FILES = 300
SECONDS = 0.2
TONES = [400 + 100 * step for step in range(10)]
FRAME = 0.04
# Memory may wobble by allocator pages; a leak of one buffer per file would pass this soon.
FLAT_FROM = 50
FLAT_SLACK_KB = 6 * 1024
SILENCE_AT_END = 3.0
RUN_TIMEOUT = 600.0


def tone_of(index):
    return TONES[index % len(TONES)]


def make_files(folder):
    names = []
    for index in range(FILES):
        name = f"pista{index:03d}.wav"
        audio.make_wav(folder / name, tone_of(index), SECONDS)
        names.append(name)
    return names


def resident_kb(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    raise RuntimeError("no VmRSS line")


def resident_at(memory, mark):
    """The first memory reading taken at or after recorder mark."""
    return next((kb for at, kb in memory if at >= mark), None)


def frame_labels(samples, rate):
    """For each FRAME of the recording, the tone it holds, or None for silence."""
    size = int(FRAME * rate)
    labels = []
    for start in range(0, len(samples) - size + 1, size):
        frame = samples[start:start + size]
        if audio.level_db(frame) < -45.0:
            labels.append(None)
            continue
        strengths = [audio.tone_amplitude(frame, rate, tone) for tone in TONES]
        best = max(range(len(TONES)), key=strengths.__getitem__)
        labels.append(TONES[best] if audio.amplitude_db(strengths[best]) > -40.0 else None)
    return labels


def tone_runs(labels):
    """Runs of one tone as (tone, first frame, frame count); silence ends a run, and runs of
    a single frame (a transition) are dropped."""
    runs = []
    for index, label in enumerate(labels):
        if label is not None and runs and runs[-1][0] == label and runs[-1][1] + runs[-1][2] == index:
            tone, first, count = runs[-1]
            runs[-1] = (tone, first, count + 1)
        elif label is not None:
            runs.append((label, index, 1))
    return [run for run in runs if run[2] > 1]


def soak():
    failures = []
    with audio.SoundServer() as server, server.recorder() as ears, Desktop(tray=True) as desk:
        desk.add_env(server.client_env())
        music = desk.root / "musica"
        music.mkdir()
        names = make_files(music)
        playlist = desk.root / "soak.smp"
        playlist.write_bytes("".join(name + "\r\n" for name in names).encode())
        player = desk.start_player(files={"Dir.txt": f"{music}/\r\n"})
        main = desk.main_window()

        desk.click_control("cmdLoad")
        desk.activate(desk.wait_window("Abrir"))
        desk.type_text(str(playlist))
        desk.key("Return")
        desk.wait_window_gone("Abrir")

        left, top, width, _ = desk.control_rect("PlayList")
        start = ears.mark()
        began = time.monotonic()
        desk.double_click(main, left + width // 3, desk.menu_bar_height() + top + 9)
        ears.wait_for_tone(tone_of(0), after=start)

        memory = []  # (recorder mark, VmRSS in kB)
        quiet_since = None
        while time.monotonic() - began < RUN_TIMEOUT:
            memory.append((ears.mark(), resident_kb(player.pid)))
            tail = ears.samples(max(start, ears.mark() - int(0.3 * ears.rate)))
            if audio.level_db(tail) < -50.0:
                quiet_since = quiet_since or time.monotonic()
                if time.monotonic() - quiet_since >= SILENCE_AT_END:
                    break
            else:
                quiet_since = None
            time.sleep(0.25)
        else:
            failures.append(f"still playing after {RUN_TIMEOUT:g} s")
        elapsed = time.monotonic() - began

        samples = ears.samples(start)
        runs = tone_runs(frame_labels(samples, ears.rate))
        heard = [run[0] for run in runs]
        expected = [tone_of(index) for index in range(FILES)]
        if heard != expected:
            first_wrong = next((i for i, (a, b) in enumerate(zip(heard, expected)) if a != b),
                               min(len(heard), len(expected)))
            failures.append(f"heard {len(heard)} tones, expected {FILES}; order breaks at file "
                            f"{first_wrong}: heard {heard[first_wrong:first_wrong + 5]}, expected "
                            f"{expected[first_wrong:first_wrong + 5]}")
        if not player.alive():
            failures.append("the player ended")

        frame_samples = int(FRAME * ears.rate)
        gaps = [(b[1] - (a[1] + a[2])) * FRAME for a, b in zip(runs, runs[1:])]
        print(f"files: {FILES} of {SECONDS:g} s; tones heard in order: {len(heard)}; run took {elapsed:.1f} s")
        if gaps:
            print(f"gap between files: mean {sum(gaps) / len(gaps) * 1000:.0f} ms, "
                  f"longest {max(gaps) * 1000:.0f} ms")

        if len(runs) > FLAT_FROM:
            checkpoints = list(range(FLAT_FROM, len(runs), 50)) + [len(runs) - 1]
            at_file = {index: resident_at(memory, start + runs[index][1] * frame_samples)
                       for index in checkpoints}
            print("VmRSS at file (kB): " + ", ".join(f"{index + 1}: {kb}" for index, kb in at_file.items()
                                                     if kb is not None))
            from_mark = start + runs[FLAT_FROM][1] * frame_samples
            later = [kb for mark, kb in memory if mark >= from_mark]
            if later:
                base = later[0]
                print(f"VmRSS: at file 1 {memory[0][1]} kB, at file {FLAT_FROM} {base} kB, "
                      f"lowest after {min(later)} kB, highest after {max(later)} kB, "
                      f"at the end {later[-1]} kB, {len(later)} readings")
                if max(later) - base > FLAT_SLACK_KB:
                    failures.append(f"memory grew by {max(later) - base} kB after file {FLAT_FROM}")
            else:
                failures.append(f"no memory reading after file {FLAT_FROM}")
        if failures:
            desk.screenshot("soak-navigation-end")
            ears.save_wav(desk.shots / "soak-navigation.wav")
    for failure in failures:
        print("FAIL:", failure)
    print("PASS" if not failures else "FAILED")
    return 0 if not failures else 1


if __name__ == "__main__":
    sys.exit(soak())
