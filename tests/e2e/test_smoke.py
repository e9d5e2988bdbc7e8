"""The real player comes up under a window manager and a tray host, and goes when told to."""

import unittest

from harness import CLIENT_HEIGHT, CLIENT_WIDTH, MAIN_TITLE, Desktop


class Smoke(unittest.TestCase):
    # The main window maps with its title and a fixed client area of 398 x 302 below the menu bar.
    def test_main_window_maps_with_its_size(self):
        with Desktop(tray=True) as desk:
            player = desk.start_player()
            window = desk.wait_window(MAIN_TITLE, pid=player.pid)
            geometry = desk.geometry(window)
            self.assertEqual(geometry.width, CLIENT_WIDTH)
            menu_bar = geometry.height - CLIENT_HEIGHT
            self.assertGreater(menu_bar, 10, "the menu bar takes a strip above the client area")
            self.assertLess(menu_bar, 60)
            self.assertTrue(desk.screenshot("smoke-main-window").stat().st_size > 0)
            self.assertTrue(player.alive())
            desk.stop_player(player)
            self.assertFalse(player.alive())

    # The last item of the first menu, reached by keyboard past the cascading submenu, is
    # "Salir": with the tray host up it hides the window and the player keeps running.
    def test_menu_reaches_salir(self):
        with Desktop(tray=True) as desk:
            player = desk.start_player()
            desk.main_window()
            desk.menu("&Archivo", "Salir")
            desk.wait_window_gone(MAIN_TITLE)
            self.assertTrue(player.alive())

    # Closing the desktop stops the player it started, even when the test body fails.
    def test_failed_test_still_stops_the_player(self):
        class Boom(Exception):
            pass

        with self.assertRaises(Boom):
            with Desktop() as desk:
                player = desk.start_player()
                desk.main_window()
                raise Boom()
        self.assertFalse(player.alive())


if __name__ == "__main__":
    unittest.main()
