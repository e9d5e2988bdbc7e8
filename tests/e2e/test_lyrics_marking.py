"""A person plays a FLAC track whose lyrics come as a timed .lrc file: the lyrics window shows
the lines without their times and marks each line as the track reaches it."""

import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
from harness import Desktop  # noqa: E402

TONE = 440
SECONDS = 14
# The times each shown line starts; the title tag is not shown.
CUES = [1.0, 4.0, 7.0]
LRC = "[ti:Canción de prueba]\n[00:01.00]Primera línea\n[00:04.00]Segunda línea\n[00:07.00]Tercera línea\n"


class LyricsFollowTheSong(unittest.TestCase):
    def setUp(self):
        server = self.enterContext(audio.SoundServer())
        self.ears = self.enterContext(server.recorder())
        self.desk = self.enterContext(Desktop(tray=True))
        self.desk.add_env(server.client_env())
        music = self.desk.root / "musica"
        music.mkdir()
        self.track = audio.make_encoded(music / "cancion.flac", TONE, SECONDS)
        self.player = self.desk.start_player(files={"Lyrics/cancion.lrc": LRC})
        self.desk.main_window()

    def marked_row(self, window):
        """The middle of the band of highlight colour down the lyrics window, or None.

        The column looked at lies right of the short lines' text, where only the mark of a whole
        line reaches; the text box is otherwise white or grey, the highlight a saturated colour."""
        area = self.desk.geometry(window)
        column = area.width * 3 // 4
        crop = f"1x{area.height}+{area.x + column}+{area.y}"
        done = subprocess.run(["import", "-window", "root", "-crop", crop, "+repage", "-depth", "8", "rgb:-"],
                              env=self.desk.env, capture_output=True, check=True, timeout=30)
        pixels = done.stdout
        rows = [y for y in range(len(pixels) // 3)
                if max(pixels[3 * y:3 * y + 3]) - min(pixels[3 * y:3 * y + 3]) > 60]
        return (rows[0] + rows[-1]) / 2 if rows else None

    def wait_mark_below(self, window, above, what):
        def moved():
            row = self.marked_row(window)
            return row if row is not None and (above is None or row > above + 4) else None

        return self.desk.wait(moved, what)

    # Each line is marked once the track reaches its time, never before, one after the other
    # down the window; Parar leaves no line marked.
    def test_marked_line_follows_the_track(self):
        self.desk.add_through_dialog(self.player, self.track)
        started = time.monotonic()
        mark = self.ears.mark()
        self.desk.click_control("cmdPlay")
        window = self.desk.wait_window(" ")
        self.ears.wait_for_tone(TONE, after=mark)

        row = None
        for line, cue in enumerate(CUES):
            row = self.wait_mark_below(window, row, f"line {line + 1} to be marked")
            # The track cannot be further in than the time since Empezar was clicked.
            self.assertGreaterEqual(time.monotonic() - started, cue - 0.1, f"line {line + 1} marked early")

        self.desk.click_control("cmdStop")
        self.desk.wait(lambda: self.marked_row(window) is None, "the mark to go with Parar")
        self.assertTrue(self.player.alive())


if __name__ == "__main__":
    unittest.main()
