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

    # Two starts at the same instant, each with a file, even where a killed player left its
    # lock, give one player: the start that takes the name plays its file, the other hands its
    # file over and ends. The bus tells the state and title, and PlayPause and Next act as the
    # buttons would.
    def test_starts_at_once_hand_over_and_media_controls(self):
        mark = self.ears.mark()
        player = self.desk.start_player()
        self.desk.wait(lambda: list(self.desk.runtime_dir.glob("velumo-*.lock")), "the player's lock")
        self.desk.stop_player(player)
        program = player.process.args[0]
        starts = [(self.desk.spawn([program, str(path)], log=self.desk.root / f"{tone}.log"), tone, path.name)
                  for tone, path in ((440, self.first), (660, self.second))]
        wait_until(lambda: any(start.poll() is not None for start, _, _ in starts), "a start to hand over")
        (player, tone, name), = [start for start in starts if start[0].poll() is None]
        (_, other_tone, other_name), = [start for start in starts if start[0].poll() == 0]
        self.ears.wait_for_tone(tone, after=mark)
        self.desk.main_window()
        self.wait_status("Playing")
        self.assertIn(name, self.prop("Metadata"))

        self.call("PlayPause")
        self.wait_status("Paused")
        self.ears.wait_for_silence()
        mark = self.ears.mark()
        self.call("PlayPause")
        self.ears.wait_for_tone(tone, after=mark)
        self.wait_status("Playing")

        mark = self.ears.mark()
        self.call("Next")
        self.ears.wait_for_tone(other_tone, after=mark)
        self.desk.wait(lambda: other_name in self.prop("Metadata"), "the second track's title")
        self.assertEqual(len(self.desk.find_windows("Velumo MP3 Player")), 1)
        # Playing files loads no HTTP library: that is for streams only.
        self.assertNotIn("soup", Path(f"/proc/{player.pid}/maps").read_text())

        self.call("Quit", interface="org.mpris.MediaPlayer2")
        wait_until(lambda: player.poll() is not None, "the player to end")


if __name__ == "__main__":
    unittest.main()
