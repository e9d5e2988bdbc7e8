"""A person adds a track through the real file dialog, plays it and hears it on the sound
server's null sink; the lyrics window opens beside the player; pause, mute and the volume
slider change what comes out."""

import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
from harness import Desktop  # noqa: E402

TONE = 440
# 62 seconds show as "1" and "2" in the length labels, unlike the "0" they start with.
SECONDS = 62
LYRICS = "Primera línea de la canción\nsegunda línea"
LYRICS_CLIENT = (463, 149, 313, 322)


class PlayByClicks(unittest.TestCase):
    def setUp(self):
        server = self.enterContext(audio.SoundServer())
        self.ears = self.enterContext(server.recorder())
        self.desk = self.enterContext(Desktop(tray=True))
        self.desk.add_env(server.client_env())
        # xdotool types ASCII only, so the path a person types here is ASCII.
        self.music = self.desk.root / "musica"
        self.music.mkdir()
        self.track = audio.make_wav(self.music / "tono.wav", TONE, SECONDS)
        # Written on Windows: CR LF line ends and Windows-1252 accents.
        lyrics = LYRICS.replace("\n", "\r\n").encode("cp1252")
        self.player = self.desk.start_player(files={"Lyrics/tono.txt": lyrics})
        self.main = self.desk.main_window()

    def add_track(self):
        self.desk.click_control("cdmAdd")
        self.desk.activate(self.desk.wait_window("Abrir"))
        self.desk.type_text(str(self.track))
        self.desk.key("Return")
        remembered = self.player.path("Dir.txt")
        self.desk.wait(lambda: remembered.exists(), "Dir.txt to be written")
        return remembered

    def play(self):
        mark = self.ears.mark()
        self.desk.click_control("cmdPlay")
        return self.ears.wait_for_tone(TONE, after=mark)

    def pixels(self, control):
        """What the screen shows of a main-window control, as raw RGB bytes."""
        window = self.desk.geometry(self.main)
        left, top, width, height = self.desk.control_rect(control)
        crop = f"{width}x{height}+{window.x + left}+{window.y + self.desk.menu_bar_height() + top}"
        done = subprocess.run(["import", "-window", "root", "-crop", crop, "+repage", "rgb:-"],
                              env=self.desk.env, capture_output=True, check=True, timeout=30)
        return done.stdout

    # The chosen folder is remembered, the tone is heard, the length and elapsed labels
    # change, and the lyrics window opens right of the player showing the song's lyrics.
    def test_add_and_play(self):
        length_before = self.pixels("lblMM"), self.pixels("lblSS")
        self.assertEqual(self.add_track().read_bytes(), (str(self.music) + "/\r\n").encode())
        self.play()
        # The first stretch heard may hold the tone's onset; the tone then plays at full level.
        self.ears.wait_for_tone(TONE, min_level_db=-30.0)

        self.desk.wait(lambda: (self.pixels("lblMM"), self.pixels("lblSS")) != length_before,
                       "the length labels to show the track's length")
        self.assertNotEqual(self.pixels("lblMM"), length_before[0])
        self.assertNotEqual(self.pixels("lblSS"), length_before[1])
        elapsed = self.pixels("LblSongTimer2")
        self.desk.wait(lambda: self.pixels("LblSongTimer2") != elapsed, "the elapsed seconds to advance")

        window = self.desk.lyrics_window()
        lyrics = self.desk.geometry(window)
        main = self.desk.geometry(self.main)
        self.assertEqual((lyrics.x, lyrics.y, lyrics.width, lyrics.height), LYRICS_CLIENT)
        self.assertGreaterEqual(lyrics.x, main.x + main.width, "the lyrics stand right of the player")
        self.desk.wait(lambda: self.desk.copied_lyrics(window) == LYRICS, "the lyrics to be shown")
        self.assertTrue(self.player.alive())

    # Pause silences the track and pausing again resumes it; mute does the same to the sound
    # while the track goes on; the lowest slider position plays 10 dB below the highest.
    def test_pause_mute_and_volume(self):
        self.add_track()
        self.play()

        self.desk.click_control("cmdPause")
        self.ears.wait_for_silence()
        self.desk.menu("&Archivo", "Acciones", "Pausa")
        self.ears.wait_for_tone(TONE)

        self.desk.click_control("cmdMute")
        self.ears.wait_for_silence()
        self.desk.menu("Opciones", "Sin Sonido")
        self.ears.wait_for_tone(TONE)

        self.desk.click_control("Slider")
        self.desk.key("End")
        loud = self.settled_level(lambda level: level > -30.0)
        self.desk.key("Home")
        quiet = self.settled_level(lambda level: level < loud - 7.0)
        self.assertAlmostEqual(loud - quiet, 10.0, delta=1.5)
        self.assertTrue(self.player.alive())

    def settled_level(self, reached, timeout=audio.DEFAULT_TIMEOUT):
        """The tone's level once it has reached what the slider asked for, measured afresh."""
        deadline = time.monotonic() + timeout
        while not reached(self.ears.tone_level(TONE, 0.3)):
            if time.monotonic() >= deadline:
                self.fail("the volume did not change")
        return self.ears.tone_level(TONE, 0.5)


if __name__ == "__main__":
    unittest.main(verbosity=2)
