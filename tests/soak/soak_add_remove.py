"""Soak run: 1000 cycles of filling the playlist and emptying it again, through the real window.

Run it with one command (after a build), away from the default test run:

    VELUMO_BINARY=build/velumo /usr/bin/python3 tests/soak/soak_add_remove.py [cycles]

Each cycle loads a playlist file of a few entries through the real "Abrir" dialog and clears
the playlist with "Borrar Todo"; every tenth cycle also adds a track through the "Agregar"
dialog and removes it with "Borrar". The player's resident memory (VmRSS) is read every 50
cycles and must stay flat after the first 100; every reading is printed. The exit status
tells pass or fail.
"""

import sys
import time
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "e2e"))
import hostile  # noqa: E402
from harness import Desktop  # noqa: E402

CYCLES = int(sys.argv[1]) if len(sys.argv) > 1 else 1000
ENTRIES = 8
READ_EVERY = 50
FLAT_FROM = 100
# Allocator pages come and go; a leak of a few hundred bytes a cycle would pass this soon.
FLAT_SLACK_KB = 4 * 1024


def resident_kb(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    raise RuntimeError("no VmRSS line")


class Soak(unittest.TestCase, hostile.PlayerChecks):
    def list_shows_rows(self):
        """Whether anything but white shows inside the playlist's frame: a row's text or its
        highlight. The frame itself changes with the keyboard focus, so it is left out."""
        _, _, width, height = self.desk.control_rect("PlayList")
        pixels = self.desk.control_pixels("PlayList")
        border = 4
        for y in range(border, height - border):
            row = pixels[(y * width + border) * 3:(y * width + width - border) * 3]
            if min(row, default=255) < 128:
                return True
        return False

    def runTest(self):
        self.desk = self.enterContext(Desktop(tray=True))
        music = self.desk.root / "musica"
        music.mkdir()
        track = music / "pista.wav"
        track.write_bytes(b"")
        names = "".join(f"tema {i}, número {i}.mp3\r\n" for i in range(ENTRIES))
        player = self.desk.start_player(files={"Dir.txt": f"{music}/\r\n", "l.smp": names})
        self.desk.main_window()
        # The open dialog starts in the program's folder, so the short name is enough.
        playlist = "l.smp"
        readings = []
        began = time.monotonic()
        for cycle in range(1, CYCLES + 1):
            self.load_playlist(playlist)
            self.desk.click_control("cmdDelAll")
            if cycle % 10 == 0:
                self.add_track(track)
                self.select_first_row()
                self.desk.click_control("cmdDelete")
            if cycle % READ_EVERY == 0:
                # A click lost after a dialog closes would leave the list filled.
                self.desk.wait(lambda: not self.list_shows_rows(), f"the list to be empty at cycle {cycle}")
                self.assert_healthy(player, f"cycle {cycle}")
                readings.append((cycle, resident_kb(player.pid)))
                print(f"cycle {cycle}: VmRSS {readings[-1][1]} kB, {time.monotonic() - began:.0f} s",
                      flush=True)
        settled = [kb for cycle, kb in readings if cycle >= FLAT_FROM]
        if settled:
            growth = max(settled) - settled[0]
            print(f"VmRSS from cycle {FLAT_FROM}: first {settled[0]} kB, lowest {min(settled)} kB, "
                  f"highest {max(settled)} kB, last {settled[-1]} kB, growth {growth} kB")
            self.assertLessEqual(growth, FLAT_SLACK_KB, "memory grew while cycling")
        self.assertEqual(self.desk.find_windows("Error"), [])


if __name__ == "__main__":
    result = unittest.TextTestRunner(verbosity=2).run(Soak())
    print("PASS" if result.wasSuccessful() else "FAILED")
    sys.exit(0 if result.wasSuccessful() else 1)
