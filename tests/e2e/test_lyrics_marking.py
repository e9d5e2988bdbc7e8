"""A person plays a FLAC track whose lyrics come as a timed .lrc file: the lyrics window shows
the lines without their times and marks each line as the track reaches it."""

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

    # Each line is marked once the track reaches its time, never before, one after the other
    # down the window; Parar leaves no line marked.
    def test_marked_line_follows_the_track(self):
        self.desk.add_through_dialog(self.player, self.track)
        started = time.monotonic()
        mark = self.ears.mark()
        self.desk.click_control("cmdPlay")
        window = self.desk.lyrics_window()
        self.ears.wait_for_tone(TONE, after=mark)

        row = None
        for line, cue in enumerate(CUES):
            row = self.desk.wait_mark_below(window, row, f"line {line + 1} to be marked")
            # The track cannot be further in than the time since Empezar was clicked.
            self.assertGreaterEqual(time.monotonic() - started, cue - 0.1, f"line {line + 1} marked early")

        self.desk.click_control("cmdStop")
        self.desk.wait(lambda: self.desk.marked_lyrics_row(window) is None, "the mark to go with Parar")
        self.assertTrue(self.player.alive())


if __name__ == "__main__":
    unittest.main()
