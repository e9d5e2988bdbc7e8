"""A person moves through a playlist of two tones: the player goes on to the next track by
itself, "Avanzar" and "Retroceder" step between them, "Shuffle" picks one, and removing
entries from the list leaves the sound playing."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
from harness import Desktop  # noqa: E402

LOW = 440
HIGH = 660
RED = (255, 0, 0)


class Navigation(unittest.TestCase):
    def setUp(self):
        server = self.enterContext(audio.SoundServer())
        self.ears = self.enterContext(server.recorder())
        self.desk = self.enterContext(Desktop(tray=True))
        self.desk.add_env(server.client_env())
        self.music = self.desk.root / "musica"
        self.music.mkdir()
        self.player = self.desk.start_player()
        self.main = self.desk.main_window()
        self.empty_list = self.desk.control_pixels("PlayList")

    def add_tracks(self, seconds):
        """Adds a low and a high tone, in that order, through the real file dialog."""
        for frequency in (LOW, HIGH):
            # Made once: rewriting a file that the engine is playing would cut its sound.
            track = self.music / f"tono{frequency}_{seconds}.wav"
            if not track.exists():
                audio.make_wav(track, frequency, seconds)
            self.desk.click_control("cdmAdd")
            self.desk.activate(self.desk.wait_window("Abrir"))
            self.desk.type_text(str(track))
            self.desk.key("Return")
            self.desk.wait_window_gone("Abrir")
        self.desk.wait(lambda: self.desk.control_pixels("PlayList") != self.empty_list, "the entries to show")

    def hear(self, frequency, action):
        mark = self.ears.mark()
        action()
        return self.ears.wait_for_tone(frequency, after=mark)

    def share_of(self, colour, control):
        data = self.desk.control_pixels(control)
        pixels = [tuple(data[i:i + 3]) for i in range(0, len(data), 3)]
        return sum(pixel == colour for pixel in pixels) / len(pixels)

    def click_first_row(self):
        left, top, width, _ = self.desk.control_rect("PlayList")
        self.desk.click(self.main, left + width // 3, self.desk.menu_bar_height() + top + 9)

    def list_is_empty(self):
        return self.desk.control_pixels("PlayList") == self.empty_list

    # Play goes through the whole list by itself: the low tone, then the high one, then
    # silence that lasts.
    def test_plays_on_to_the_end(self):
        self.add_tracks(3)
        self.hear(LOW, lambda: self.desk.click_control("cmdPlay"))
        high = self.ears.wait_for_tone(HIGH, timeout=15)
        after = self.ears.wait_for_silence(after=high.at, timeout=15)
        self.ears.wait_for_silence(after=after, window=2.0, timeout=15)
        self.assertTrue(self.player.alive())

    # The buttons and the menu items step to the other tone and back.
    def test_forward_and_back(self):
        self.add_tracks(60)
        self.hear(LOW, lambda: self.desk.click_control("cmdPlay"))
        self.hear(HIGH, lambda: self.desk.click_control("cmdForward"))
        self.hear(LOW, lambda: self.desk.click_control("cmdBack"))
        self.hear(HIGH, lambda: self.desk.menu("&Archivo", "Acciones", "Avanzar"))
        self.hear(LOW, lambda: self.desk.menu("&Archivo", "Acciones", "Retroceder"))

    # Shuffle turns its button red and plays one of the two tones.
    def test_shuffle(self):
        self.add_tracks(60)
        self.assertEqual(self.share_of(RED, "cmdShuffle"), 0.0)
        mark = self.ears.mark()
        self.desk.click_control("cmdShuffle")
        self.desk.wait(lambda: self.share_of(RED, "cmdShuffle") > 0.3, "a red shuffle button")
        self.desk.wait(lambda: self.either_tone_after(mark), "one of the two tones")

    def either_tone_after(self, mark):
        end = self.ears.mark()
        size = self.ears.rate // 4
        if end - mark < size:
            return False
        found, level = audio.dominant_frequency(self.ears.samples(end - size, end), self.ears.rate)
        return level > -50.0 and min(abs(found - LOW), abs(found - HIGH)) <= 10.0

    # "Borrar" takes out the clicked entry, twice over, and "Borrar Todo" everything; the
    # track that plays goes on through both.
    def test_removing_leaves_the_sound(self):
        self.add_tracks(60)
        self.hear(LOW, lambda: self.desk.click_control("cmdPlay"))
        for _ in range(2):
            self.click_first_row()
            self.desk.click_control("cmdDelete")
        self.desk.wait(self.list_is_empty, "an empty list after two removals")
        self.ears.wait_for_tone(LOW)

        self.add_tracks(60)
        self.desk.click_control("cmdDelAll")
        self.desk.wait(self.list_is_empty, "an empty list after Borrar Todo")
        self.ears.wait_for_tone(LOW)
        self.assertTrue(self.player.alive())


if __name__ == "__main__":
    unittest.main(verbosity=2)
