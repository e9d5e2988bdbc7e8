"""While the window is hidden, a track started from the media keys is told by one desktop
notice naming it; while the window is shown, no notice is sent."""

import json
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import test_desktop  # noqa: E402
import test_seek  # noqa: E402

HERE = Path(__file__).resolve().parent


class TrackNotices(unittest.TestCase):
    setUp = test_desktop.MediaControls.setUp
    call = test_desktop.MediaControls.call
    prop = test_desktop.MediaControls.prop
    wait_status = test_desktop.MediaControls.wait_status
    playerctl = test_seek.Seeking.playerctl
    start = test_seek.Seeking.start

    def notices(self):
        text = self.log.read_text() if self.log.exists() else ""
        return [json.loads(line) for line in text.splitlines()]

    # The first track starts with the window shown and the last after it is shown again: only
    # "next" while the window is hidden sends a notice, once, with a timeout that ends it.
    def test_only_a_track_started_while_hidden_is_told(self):
        self.log = self.desk.root / "notices.jsonl"
        ready = self.desk.root / "notifyservice.log"
        self.desk.spawn([sys.executable, str(HERE / "notifyservice.py"), str(self.log)], log=ready)
        self.desk.wait(lambda: "ready" in ready.read_text(), "the notification service")
        self.start(self.first, self.second)
        main = self.desk.main_window()

        self.desk.menu("&Archivo", "Salir")
        self.desk.wait(lambda: not self.desk.is_viewable(main), "the player to hide")
        mark = self.ears.mark()
        self.playerctl("next")
        self.ears.wait_for_tone(660, after=mark)
        self.desk.wait(self.notices, "a notice")

        self.call("Raise", interface="org.mpris.MediaPlayer2")
        self.desk.wait(lambda: self.desk.is_viewable(main), "the player to come back")
        mark = self.ears.mark()
        self.playerctl("previous")
        self.ears.wait_for_tone(440, after=mark)
        self.desk.wait(lambda: "uno.wav" in self.prop("Metadata"), "the first track again")
        notices = self.notices()
        self.assertEqual({(notice["id"], notice["summary"]) for notice in notices}, {(1, "dos.wav")}, notices)
        self.assertGreater(notices[-1]["timeout"], 0)
        self.assertNotIn("resident", notices[-1]["hints"])


if __name__ == "__main__":
    unittest.main()
