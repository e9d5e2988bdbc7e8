"""A track started while the window is hidden is told by one desktop notice, and none other."""

import itertools
import json
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import test_desktop  # noqa: E402
import test_seek  # noqa: E402


def serve(log):  # writes each notice asked for to log: its number, title and timeout
    from gi.repository import Gio, GLib
    numbers = itertools.count(1)
    node = Gio.DBusNodeInfo.new_for_xml(
        "<node><interface name='org.freedesktop.Notifications'><method name='Notify'>"
        + "".join(f"<arg type='{kind}'/>" for kind in ("s", "u", "s", "s", "s", "as", "a{sv}", "i"))
        + "<arg type='u' direction='out'/></method></interface></node>")

    def called(connection, sender, path, interface, method, args, invocation):
        _, replaces, _, title, _, _, _, timeout = args.unpack()
        number = replaces or next(numbers)
        with open(log, "a") as out:
            print(json.dumps([number, title, timeout]), file=out)
        invocation.return_value(GLib.Variant("(u)", (number,)))

    Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.Notifications", 0, lambda bus, _: bus.register_object(
        "/org/freedesktop/Notifications", node.interfaces[0], called), lambda *_: print("ready", flush=True), None)
    GLib.MainLoop().run()


class TrackNotices(unittest.TestCase):
    setUp = test_desktop.MediaControls.setUp
    call, prop = test_desktop.MediaControls.call, test_desktop.MediaControls.prop
    wait_status = test_desktop.MediaControls.wait_status
    playerctl, start = test_seek.Seeking.playerctl, test_seek.Seeking.start

    # A notice for the track that "next" starts while the window is hidden, once and timed out;
    # none for the first track, which starts shown, nor for the last, started once shown again.
    def test_only_a_track_started_while_hidden_is_told(self):
        self.log, ready = self.desk.root / "notices.jsonl", self.desk.root / "notify.log"
        self.desk.spawn([sys.executable, __file__, str(self.log)], log=ready)
        self.desk.wait(lambda: "ready" in ready.read_text(), "the notification service")
        self.start(self.first, self.second)
        main = self.desk.main_window()
        self.desk.menu("&Archivo", "Salir")
        self.desk.wait(lambda: not self.desk.is_viewable(main), "the player to hide")
        mark = self.ears.mark()
        self.playerctl("next")
        self.ears.wait_for_tone(660, after=mark)
        self.desk.wait(self.log.exists, "a notice")
        self.call("Raise", interface="org.mpris.MediaPlayer2")
        self.desk.wait(lambda: self.desk.is_viewable(main), "the player to come back")
        mark = self.ears.mark()
        self.playerctl("previous")
        self.ears.wait_for_tone(440, after=mark)
        self.desk.wait(lambda: "uno.wav" in self.prop("Metadata"), "the first track again")
        notices = [json.loads(line) for line in self.log.read_text().splitlines()]
        self.assertEqual({(number, title) for number, title, _ in notices}, {(1, "dos.wav")}, notices)
        self.assertGreater(notices[-1][2], 0)


if __name__ == "__main__":
    serve(sys.argv[1]) if sys.argv[1:] else unittest.main()
