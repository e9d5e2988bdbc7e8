"""A station's playlist opened with "Abrir" plays its stream from a small radio of the test's
own: the tone is heard, the desktop learns the song the station sends, Parar silences it, and a
dropped connection comes back by itself. A server that never answers stops the row in time,
the window answering throughout."""

import subprocess
import sys
import threading
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import test_desktop  # noqa: E402
from harness import wait_until  # noqa: E402
from processes import stop_process  # noqa: E402

RADIO = Path(__file__).resolve().parent.parent / "support" / "radioserver.py"


class Radio(unittest.TestCase):
    call, prop = test_desktop.MediaControls.call, test_desktop.MediaControls.prop
    wait_status = test_desktop.MediaControls.wait_status

    def setUp(self):
        test_desktop.MediaControls.setUp(self)
        self.radio = subprocess.Popen(
            [sys.executable, str(RADIO), "--title", "Artista - Cancion de prueba"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, start_new_session=True)
        self.port = int(self.radio.stdout.readline())
        # Each connection the radio takes, as it tells them.
        self.connections = []
        counter = threading.Thread(target=self.count_connections, daemon=True)
        counter.start()
        for pipe in (self.radio.stdout, self.radio.stdin):
            self.addCleanup(pipe.close)
        self.addCleanup(counter.join, 30)
        self.addCleanup(stop_process, self.radio)

    def count_connections(self):
        for line in self.radio.stdout:
            self.connections.append(line)

    def tell_radio(self, line):
        self.radio.stdin.write(line + "\n")
        self.radio.stdin.flush()

    def open_station(self, path):
        station = self.desk.root / "emisora.pls"
        station.write_text(f"[playlist]\nNumberOfEntries=1\nFile1=http://127.0.0.1:{self.port}{path}\n"
                           "Title1=Radio de prueba\nLength1=-1\nVersion=2\n")
        self.desk.start_player()
        self.desk.main_window()
        empty = self.desk.control_pixels("PlayList")
        self.desk.click_control("cmdLoad")
        dialog = self.desk.wait_window("Abrir")
        self.desk.activate(dialog)
        self.desk.type_text(str(station))
        self.desk.key("Return")
        self.desk.wait_window_gone("Abrir")
        self.desk.wait(lambda: self.desk.control_pixels("PlayList") != empty, "the station's row")
        # The row is chosen as a user chooses it: a list opened names no current track.
        left, top, width, _ = self.desk.control_rect("PlayList")
        self.desk.click(self.desk.main_window(), left + width // 3, self.desk.menu_bar_height() + top + 9)

    def test_station_plays_tells_its_song_and_comes_back(self):
        self.open_station("/stream")
        mark = self.ears.mark()
        clicked = time.monotonic()
        self.desk.click_control("cmdPlay")
        self.ears.wait_for_tone(440, after=mark)
        print(f"Empezar to sound: {time.monotonic() - clicked:.2f} s (with the check's own delay)")
        self.desk.wait(lambda: "Cancion de prueba" in self.prop("Metadata")
                       and "Artista" in self.prop("Metadata"), "the song the station sends")
        self.assertIn("false", self.prop("CanSeek"))
        self.tell_radio("title Otro - Tema nuevo")
        self.desk.wait(lambda: "Tema nuevo" in self.prop("Metadata"), "the station's next song")

        self.desk.click_control("cmdStop")
        self.wait_status("Stopped")
        self.ears.wait_for_silence()
        self.desk.click_control("cmdPlay")
        self.wait_status("Playing")

        connected = len(self.connections)
        self.tell_radio("drop")
        wait_until(lambda: len(self.connections) > connected, "the player to connect again")
        mark = self.ears.mark()
        self.ears.wait_for_tone(440, after=mark)
        self.wait_status("Playing")

    def test_server_that_never_answers_stops_in_time(self):
        self.open_station("/silent")
        self.desk.click_control("cmdPlay")
        self.wait_status("Playing")
        # The window answers the desktop all the while the player waits for the server.
        started = time.monotonic()
        while "'Stopped'" not in self.prop("PlaybackStatus"):
            self.assertLess(time.monotonic() - started, 15, "the stream still counted as playing")

if __name__ == "__main__":
    unittest.main()
