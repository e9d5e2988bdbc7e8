"""Playlist files, the background picture and the about windows, used as a person would."""

import re
import struct
import subprocess
import unittest

from harness import MAIN_TITLE, Desktop

PLAYLIST = "uno.mp3\r\nRock, Pop.mp3\r\ncanción.mid\r\n".encode()

# Points of the main window's client area, below the menu bar, that no control covers.
BARE_POINTS = [(200, 235), (30, 40)]


def red_bmp(width=8, height=8):
    """A 24-bit BMP of one red colour."""
    row = b"\x00\x00\xff" * width + b"\x00" * ((4 - width * 3 % 4) % 4)
    pixels = row * height
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


class FilesAndAbout(unittest.TestCase):
    def setUp(self):
        self.desk = self.enterContext(Desktop())
        self.music = self.desk.root / "Musica"
        self.music.mkdir()

    def pixel(self, x, y):
        """The colour on screen at x, y as (red, green, blue)."""
        done = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                              env=self.desk.env, capture_output=True, text=True, timeout=30, check=True)
        value = re.search(r"#([0-9A-Fa-f]{6})", done.stdout).group(1)
        return tuple(int(value[i:i + 2], 16) for i in (0, 2, 4))

    def bare_pixels(self, window):
        geometry = self.desk.geometry(window)
        top = geometry.y + self.desk.menu_bar_height()
        return [self.pixel(geometry.x + x, top + y) for x, y in BARE_POINTS]

    def choose_in_dialog(self, title, path):
        dialog = self.desk.wait_window(title)
        self.desk.activate(dialog)
        self.desk.type_text(str(path))
        self.desk.key("Return")
        self.desk.wait_window_gone(title)

    # "Abrir" appends a playlist file's names and "Guardar" writes them to the file chosen in
    # the real dialog, byte for byte, wherever the user chose it.
    def test_load_then_save_through_the_dialogs(self):
        source = self.desk.root / "origen.smp"
        source.write_bytes(PLAYLIST)
        player = self.desk.start_player(files={"Dir.txt": f"{self.music}/\r\n"})
        self.desk.main_window()
        self.desk.click_control("cmdLoad")
        self.choose_in_dialog("Abrir", source)
        saved = self.music / "copia.smp"
        self.desk.click_control("cmdSave")
        self.choose_in_dialog("Guardar como", saved)
        self.desk.wait(saved.exists, "the saved playlist")
        self.assertEqual(saved.read_bytes(), PLAYLIST)
        self.assertFalse(player.path("copia.smp").exists())
        self.assertEqual(self.desk.find_windows("Error"), [])

    # Loading before any track was ever added shows the error box, which OK closes.
    def test_load_without_remembered_folder_shows_error(self):
        source = self.desk.root / "origen.smp"
        source.write_bytes(PLAYLIST)
        player = self.desk.start_player()
        self.desk.main_window()
        self.desk.click_control("cmdLoad")
        self.choose_in_dialog("Abrir", source)
        box = self.desk.wait_window("Error")
        self.desk.screenshot("load-error-box")
        self.desk.activate(box)
        self.desk.key("Return")
        self.desk.wait_window_gone("Error")
        self.assertTrue(player.alive())

    # A chosen red picture turns the window red at once, and again at the next start.
    def test_background_picture_shows_and_is_remembered(self):
        picture = self.desk.root / "rojo.bmp"
        picture.write_bytes(red_bmp())
        player = self.desk.start_player()
        window = self.desk.main_window()
        self.assertNotIn((255, 0, 0), self.bare_pixels(window))
        self.desk.menu("Opciones", "Imagen de Fondo")
        self.choose_in_dialog("Abrir", picture)
        self.desk.wait(lambda: self.bare_pixels(window) == [(255, 0, 0)] * 2, "the red background")
        remembered = player.path("Pic.txt").read_bytes()
        self.assertEqual(remembered, f"{picture}\r\n".encode())
        self.desk.stop_player(player)
        self.desk.wait_window_gone(MAIN_TITLE)

        again = self.desk.start_player(files={"Pic.txt": remembered})
        window = self.desk.wait_window(MAIN_TITLE)
        self.desk.wait(lambda: self.bare_pixels(window) == [(255, 0, 0)] * 2, "the red background at start")
        self.desk.screenshot("background-restored")

    # "Acerca de" opens the about window, "Agradecimientos" the credits window, and each
    # "Aceptar" closes its own window.
    def test_about_and_credits_windows(self):
        player = self.desk.start_player()
        main = self.desk.main_window()
        self.desk.menu("Ayuda", "Acerca de")
        windows = self.desk.wait_window(MAIN_TITLE, count=2)
        about = next(window for window in windows if window != main)
        geometry = self.desk.geometry(about)
        self.assertEqual((geometry.width, geometry.height), (411, 208))
        self.assertEqual(self.pixel(geometry.x + 400, geometry.y + 10), (128, 128, 255))
        self.desk.screenshot("about-window")
        self.desk.click(about, 356, 156)
        credits = self.desk.wait_window("Agradecimientos")
        geometry = self.desk.geometry(credits)
        self.assertEqual((geometry.width, geometry.height), (356, 131))
        self.desk.click(credits, 292, 108)
        self.desk.wait_window_gone("Agradecimientos")
        self.desk.click(about, 356, 188)
        self.desk.wait(lambda: self.desk.find_windows(MAIN_TITLE) == [main], "the about window to close")
        self.assertTrue(player.alive())


if __name__ == "__main__":
    unittest.main()
