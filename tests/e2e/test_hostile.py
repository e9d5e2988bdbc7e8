"""Hostile files thrown at the real player through its dialogs, its playlist files, the
files beside it and its lyrics folder. After each the player must still run, answer a menu
key at once, show no message but the load error where a playlist cannot be read, and leave
every file the user had as it was."""

import subprocess
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
import hostile  # noqa: E402
from harness import MAIN_TITLE, Desktop  # noqa: E402

# Long enough that no track ends by itself while the test steps past it.
LONG = 30


class HostileCase(unittest.TestCase, hostile.PlayerChecks):
    sound = False

    def setUp(self):
        if self.sound:
            server = self.enterContext(audio.SoundServer())
            self.server = server
            self.ears = self.enterContext(server.recorder())
        self.desk = self.enterContext(Desktop(tray=True))
        if self.sound:
            self.desk.add_env(self.server.client_env())
        self.music = self.desk.root / "musica"
        self.music.mkdir()

    def play_first_row(self):
        left, top, width, _ = self.desk.control_rect("PlayList")
        self.desk.click(self.desk.main_window(), left + width // 3, self.desk.menu_bar_height() + top + 9)
        self.desk.click_control("cmdPlay")

    def user_files(self, *extra):
        return hostile.snapshot(self.music, *extra)


class StartUpFiles(HostileCase):
    # Each start reads "Pic.txt": whatever it holds or names, the window comes up, answers,
    # and neither "Pic.txt" nor what it names is changed.
    def test_background_files_read_at_start(self):
        pictures = self.desk.root / "fotos"
        pictures.mkdir()
        named = {
            "a FIFO": hostile.fifo(pictures / "tubo.bmp"),
            "a PNG claiming 20000 x 20000": hostile.huge_png(pictures / "enorme.png"),
            "a BMP claiming 20000 x 20000": hostile.huge_bmp(pictures / "enorme.bmp"),
            "a GIF claiming 20000 x 20000": hostile.huge_gif(pictures / "enorme.gif"),
            "random bytes named .jpg": self.write(pictures / "ruido.jpg", hostile.random_bytes(50000)),
            "a 1 GiB sparse file named .bmp": hostile.sparse(pictures / "hueco.bmp"),
            "a folder named .gif": self.folder(pictures / "carpeta.gif"),
            "a missing file": pictures / "no-existe.jpg",
        }
        cases = [(f"Pic.txt naming {what}", f"{path}\r\n".encode()) for what, path in named.items()]
        cases += [("Pic.txt of garbage", hostile.random_bytes(3000)), ("an empty Pic.txt", b""),
                  ("a Pic.txt of one byte", b"x"), ("a Pic.txt of 100000 bytes", b"a" * 100000 + b"\r\n")]
        for case, content in cases:
            with self.subTest(case):
                self.start_with({"Pic.txt": content}, case, pictures)
        with self.subTest("a FIFO as Pic.txt"):
            self.start_with({}, "a FIFO as Pic.txt", pictures, fifos=["Pic.txt"])

    def start_with(self, files, case, pictures, fifos=()):
        before = hostile.snapshot(pictures)
        player = hostile.start_player(self.desk, files=files, fifos=fifos)
        self.desk.main_window()
        self.assert_healthy(player, case)
        kept = {name: player.path(name).read_bytes() for name in files}
        self.desk.stop_player(player)
        self.desk.wait_window_gone(MAIN_TITLE)
        self.assertEqual(hostile.snapshot(pictures), before, f"{case}: a picture changed")
        self.assertEqual(kept, files, f"{case}: a settings file changed")
        for name in fifos:
            self.assertTrue(player.path(name).is_fifo(), f"{case}: {name} is no longer a FIFO")

    @staticmethod
    def write(path, content):
        path.write_bytes(content)
        return path

    @staticmethod
    def folder(path):
        path.mkdir()
        return path


if __name__ == "__main__":
    unittest.main(verbosity=2)
