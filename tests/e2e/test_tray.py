"""The player lives in the notification area: closing its window only hides it while the music
goes on, the icon brings it back, and only the icon's "Salir" ends it."""

import re
import subprocess
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
from harness import MAIN_TITLE, Desktop  # noqa: E402

TONE = 523
SECONDS = 120
LYRICS_TITLE = " "
# The icon's window as listed by xwininfo: id, name, class, size and position on the screen.
TREE_LINE = re.compile(r'^(\s*)(0x[0-9a-f]+) (?:"([^"]*)"|\(has no name\)): \(([^)]*)\)\s+(\d+)x(\d+)\S*\s+\+(-?\d+)\+(-?\d+)')


def x_output(desk, args):
    return subprocess.run(args, env=desk.env, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          timeout=30).stdout


def window_pid(desk, window):
    found = re.search(r"= (\d+)", x_output(desk, ["xprop", "-id", str(window), "_NET_WM_PID"]))
    return int(found.group(1)) if found else None


def tray_icon(desk, pid):
    """The player's icon window embedded in the tray host's panel, as (id, width, height), or None."""
    panel_depth = None
    for line in x_output(desk, ["xwininfo", "-root", "-tree"]).splitlines():
        match = TREE_LINE.match(line)
        if not match:
            continue
        depth = len(match.group(1))
        if panel_depth is not None and depth <= panel_depth:
            panel_depth = None
        if match.group(4) == '"panel" "trayer"':
            panel_depth = depth
        elif panel_depth is not None and match.group(4) == '"velumo" "velumo"':
            window = int(match.group(2), 16)
            if window_pid(desk, window) == pid:
                return window, int(match.group(5)), int(match.group(6))
    return None


def windows_of_type(desk, pid, kind):
    """The viewable windows of pid whose window type includes kind ("TOOLTIP", "NORMAL")."""
    found = []
    for word in x_output(desk, ["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--class", "."]).split():
        types = x_output(desk, ["xprop", "-id", word, "_NET_WM_WINDOW_TYPE"])
        if f"_NET_WM_WINDOW_TYPE_{kind}" in types.split("=")[-1].split(",")[0]:
            found.append(int(word))
    return found


class TrayHost(unittest.TestCase):
    def setUp(self):
        server = self.enterContext(audio.SoundServer())
        self.ears = self.enterContext(server.recorder())
        self.desk = self.enterContext(Desktop(tray=True))
        self.desk.add_env(server.client_env())
        self.track = audio.make_wav(self.desk.root / "tono.wav", TONE, SECONDS)
        self.player = self.desk.start_player()
        self.main = self.desk.wait_window(MAIN_TITLE)

    def icon(self):
        return self.desk.wait(lambda: tray_icon(self.desk, self.player.pid), "the player's tray icon")

    def click_icon(self, button):
        window, width, height = self.icon()
        self.desk.click(window, width // 2, height // 2, button=button)

    def icon_menu(self, *keys):
        """Opens the icon's menu with a right click and works it with the keys given."""
        before = set(windows_of_type(self.desk, self.player.pid, "NORMAL"))
        self.click_icon(3)
        self.desk.wait(lambda: set(windows_of_type(self.desk, self.player.pid, "NORMAL")) - before,
                       "the icon's menu")
        if keys:
            self.desk.key(*keys)

    def play_track(self):
        self.desk.click_control("cdmAdd")
        self.desk.activate(self.desk.wait_window("Abrir"))
        self.desk.type_text(str(self.track))
        self.desk.key("Return")
        self.desk.wait_window_gone("Abrir")
        mark = self.ears.mark()
        self.desk.click_control("cmdPlay")
        self.ears.wait_for_tone(TONE, after=mark)
        return self.desk.wait_window(LYRICS_TITLE)

    def visible(self, window):
        return self.desk.is_viewable(window)

    # The icon is up from the start with its tooltip. Closing the window through the window
    # manager, and "Salir" of the file menu, hide the player and its lyrics while the tone
    # goes on; a click on the icon, or "Abrir Velumo MP3 Player" of its menu, brings both back.
    def test_hide_and_restore_while_playing(self):
        window, width, height = self.icon()
        subprocess.run(["xdotool", "mousemove", "--window", str(window), str(width // 2), str(height // 2)],
                       env=self.desk.env, check=True, timeout=30)
        self.desk.wait(lambda: windows_of_type(self.desk, self.player.pid, "TOOLTIP"), "the icon's tooltip")
        self.desk.screenshot("tray-tooltip")
        lyrics = self.play_track()

        self.desk.activate(self.main)
        self.desk.key("alt+F4")
        self.desk.wait(lambda: not self.visible(self.main) and not self.visible(lyrics), "both windows to hide")
        self.ears.wait_for_tone(TONE)
        self.assertTrue(self.player.alive())

        self.click_icon(1)
        self.desk.wait(lambda: self.visible(self.main) and self.visible(lyrics), "both windows to come back")

        self.desk.menu("Letras", "Ocultar Letras")
        self.desk.wait(lambda: not self.visible(lyrics), "the lyrics to hide")
        self.desk.menu("&Archivo", "Salir")
        self.desk.wait(lambda: not self.visible(self.main), "the player to hide")
        self.ears.wait_for_tone(TONE)
        self.icon_menu("Down", "Down", "Return")
        self.desk.wait(lambda: self.visible(self.main) and self.visible(lyrics), "both windows to come back")
        self.assertTrue(self.player.alive())

    # The icon's menu reads "Acerca", "Abrir Velumo MP3 Player", a line, "Salir"; its "Salir"
    # ends the player while the help and about windows are open, and takes the icon away.
    def test_quit_from_the_icon_with_windows_open(self):
        self.play_track()
        self.desk.menu("Ayuda", "Ayuda")
        self.desk.wait_window("Ayuda")
        self.icon_menu()
        self.desk.screenshot("tray-menu")
        self.desk.key("Down", "Return")
        self.desk.wait_window(MAIN_TITLE, count=2)

        self.icon_menu("Down", "Down", "Down", "Return")
        self.assertEqual(self.player.wait_exit(), 0)
        self.assertIsNone(tray_icon(self.desk, self.player.pid))
        self.assertEqual(self.desk.find_windows(MAIN_TITLE) + self.desk.find_windows("Ayuda"), [])
        self.ears.wait_for_silence()


class NoTrayHost(unittest.TestCase):
    # Without a notification area to hide into, closing the window ends the player rather than
    # leaving it running where no one can reach it.
    def test_closing_ends_the_player(self):
        with Desktop(tray=False) as desk:
            player = desk.start_player()
            main = desk.wait_window(MAIN_TITLE)
            # A window manager still settling a new window on a loaded machine may drop the
            # first Alt+F4, so the key is given again while the window stays; one close is
            # all the player needs.
            for _ in range(3):
                desk.activate(main)
                desk.key("alt+F4")
                try:
                    self.assertEqual(player.wait_exit(timeout=10), 0)
                    break
                except subprocess.TimeoutExpired:
                    self.assertTrue(desk.is_viewable(main), "the window hid instead of ending the player")
            else:
                self.fail("the player did not end after three Alt+F4")


if __name__ == "__main__":
    unittest.main(verbosity=2)
