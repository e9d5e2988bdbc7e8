"""The player on a desktop with a session bus: files named on its command line are added and
played, a second start hands its files to the running player, and the desktop's media
controls reach the same handlers as the buttons."""

import subprocess
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
from harness import Desktop, wait_until  # noqa: E402

SERVICE = "org.mpris.MediaPlayer2.velumo"
OBJECT = "/org/mpris/MediaPlayer2"
PLAYER = "org.mpris.MediaPlayer2.Player"


class MediaControls(unittest.TestCase):
    def setUp(self):
        self.server = self.enterContext(audio.SoundServer())
        self.ears = self.enterContext(self.server.recorder())
        self.desk = self.enterContext(Desktop(tray=True))
        self.desk.add_env(self.server.client_env())
        # A session bus of the test's own, stopped by its pid with the desktop.
        bus = self.desk.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1",
                               "--address=unix:path=" + str(self.desk.runtime_dir / "bus")],
                              log=self.desk.root / "bus.log")
        self.address = "unix:path=" + str(self.desk.runtime_dir / "bus")
        wait_until(lambda: (self.desk.runtime_dir / "bus").exists() or bus.poll() is not None, "the bus")
        self.desk.add_env({"DBUS_SESSION_BUS_ADDRESS": self.address})
        self.first = audio.make_wav(self.desk.root / "uno.wav", 440, 30)
        self.second = audio.make_wav(self.desk.root / "dos.wav", 660, 30)

    def call(self, method, interface=PLAYER):
        subprocess.run(["gdbus", "call", "--session", "--dest", SERVICE, "--object-path", OBJECT,
                        "--method", f"{interface}.{method}"],
                       env=self.desk.env, check=True, capture_output=True, timeout=30)

    def prop(self, name):
        done = subprocess.run(["gdbus", "call", "--session", "--dest", SERVICE, "--object-path", OBJECT,
                               "--method", "org.freedesktop.DBus.Properties.Get", PLAYER, name],
                              env=self.desk.env, capture_output=True, text=True, timeout=30)
        return done.stdout if done.returncode == 0 else ""

    def wait_status(self, status):
        self.desk.wait(lambda: f"'{status}'" in self.prop("PlaybackStatus"), f"PlaybackStatus {status}")

    # Started with a file, the player adds it and plays it, even where a killed player left its
    # lock; the bus tells its state and title, and PlayPause, Next and a second start's
    # hand-over act as the buttons would.
    def test_command_line_hand_over_and_media_controls(self):
        mark = self.ears.mark()
        player = self.desk.start_player()
        self.desk.wait(lambda: list(self.desk.runtime_dir.glob("velumo-*.lock")), "the player's lock")
        self.desk.stop_player(player)
        player = self.desk.spawn([str(player.folder / "velumo"), str(self.first)],
                                 log=self.desk.root / "player.log")
        self.ears.wait_for_tone(440, after=mark)
        self.desk.main_window()
        self.wait_status("Playing")
        self.assertIn("uno.wav", self.prop("Metadata"))

        self.call("PlayPause")
        self.wait_status("Paused")
        self.ears.wait_for_silence()
        mark = self.ears.mark()
        self.call("PlayPause")
        self.ears.wait_for_tone(440, after=mark)
        self.wait_status("Playing")

        # A second start with a file gives it to the running player and ends at once.
        second = subprocess.run([str(Path(player.args[0])), str(self.second)], env=self.desk.env,
                                capture_output=True, timeout=60)
        self.assertEqual(second.returncode, 0)
        self.assertIsNone(player.poll())
        mark = self.ears.mark()
        self.call("Next")
        self.ears.wait_for_tone(660, after=mark)
        self.desk.wait(lambda: "dos.wav" in self.prop("Metadata"), "the second track's title")
        self.assertEqual(len(self.desk.find_windows("Velumo MP3 Player")), 1)

        self.call("Quit", interface="org.mpris.MediaPlayer2")
        wait_until(lambda: player.poll() is not None, "the player to end")


if __name__ == "__main__":
    unittest.main()
