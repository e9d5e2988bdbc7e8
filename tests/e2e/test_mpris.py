"""The desktop's media controls tell what is really heard, and announce each change: the bus
sends PropertiesChanged when the track and the playback status change, the track's length is
the engine's, and "Pausa" then "Parar" in the window leave the player Stopped."""

import re
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
import test_desktop  # noqa: E402
from test_desktop import OBJECT, SERVICE  # noqa: E402

# The lengths of the two tracks, told apart so that a stale length shows.
FIRST_SECONDS = 30
SECOND_SECONDS = 20


class Announcements(unittest.TestCase):
    # The private bus, sound server and desktop are those of the hand-over test, and so are
    # its tracks: uno.wav at 440 Hz, dos.wav at 660 Hz.
    setUp = test_desktop.MediaControls.setUp
    call = test_desktop.MediaControls.call
    prop = test_desktop.MediaControls.prop
    wait_status = test_desktop.MediaControls.wait_status

    def start(self):
        """Starts a bus monitor, then the player with both tracks, and waits for the first to sound."""
        self.monitor_log = self.desk.root / "monitor.log"
        self.desk.spawn(["gdbus", "monitor", "--session", "--dest", SERVICE, "--object-path", OBJECT],
                        log=self.monitor_log)
        self.desk.wait(lambda: "Monitoring" in self.monitor_log.read_text(), "the bus monitor")
        # The harness starts the player without arguments: a first start makes its program folder.
        program = self.desk.start_player()
        self.desk.stop_player(program)
        mark = self.ears.mark()
        self.desk.spawn([str(program.folder / "velumo"), str(self.first), str(self.second)],
                        log=self.desk.root / "player.log")
        self.ears.wait_for_tone(440, after=mark)
        self.desk.main_window()
        self.wait_status("Playing")

    def announcements(self, after=0):
        return [line for line in self.monitor_log.read_text(errors="replace").splitlines()[after:]
                if "PropertiesChanged" in line]

    def mark(self):
        return len(self.monitor_log.read_text(errors="replace").splitlines())

    def announced(self, after, *fragments):
        """Waits for an announcement past line after that holds every fragment; returns it."""
        def found():
            return next((line for line in self.announcements(after)
                         if all(fragment in line for fragment in fragments)), None)

        return self.desk.wait(found, f"PropertiesChanged with {fragments}")

    # Pause and Play over the bus announce the status, and "Pausa" then "Parar" clicked in
    # the window announce Stopped and leave it so, though the pause marker outlives the stop.
    def test_status_changes_are_announced(self):
        self.start()
        line = self.mark()
        self.call("Pause")
        self.announced(line, "'PlaybackStatus': <'Paused'>")
        self.ears.wait_for_silence()
        line, mark = self.mark(), self.ears.mark()
        self.call("Play")
        self.announced(line, "'PlaybackStatus': <'Playing'>")
        self.ears.wait_for_tone(440, after=mark)

        self.desk.click_control("cmdPause")
        self.wait_status("Paused")
        line = self.mark()
        self.desk.click_control("cmdStop")
        self.announced(line, "'PlaybackStatus': <'Stopped'>")
        self.wait_status("Stopped")
        self.ears.wait_for_silence()

    # Next announces the new track with the length the engine found in it, and no
    # announcement gives the new title with the old track's length.
    def test_track_change_is_announced_with_its_length(self):
        self.second = audio.make_wav(self.desk.root / "dos.wav", 660, SECOND_SECONDS)
        self.start()
        self.assertEqual(self.lengths(self.prop("Metadata")), [FIRST_SECONDS * 1_000_000])
        line, mark = self.mark(), self.ears.mark()
        self.call("Next")
        self.ears.wait_for_tone(660, after=mark)
        self.announced(line, "'Metadata'", "dos.wav", f"<int64 {SECOND_SECONDS * 1_000_000}>")
        titled = [text for text in self.announcements(line) if "dos.wav" in text]
        self.assertEqual(sum((self.lengths(text) for text in titled), []),
                         [SECOND_SECONDS * 1_000_000] * len(titled), titled)

    @staticmethod
    def lengths(text):
        return [int(value) for value in re.findall(r"'mpris:length': <(?:int64 )?(\d+)>", text)]


if __name__ == "__main__":
    unittest.main()
