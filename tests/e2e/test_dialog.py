"""The player's file dialog, driven as a person would: typing into the real dialog on a display."""

import os
import unittest

from harness import Desktop

TRACKS = "MP3 Files(*.mp3)|*.mp3|Midi Files (*.mid)|*.mid|Wav Files (*.wav)|*.wav|Mpg Files (*.mpg)|*.mpg"
PLAYLISTS = "SMP Files(*.smp)|*.smp"
BEFORE = "antes"


class DialogRun:
    """One showing of a dialog in the probe program, whose answer is read once it has closed."""

    def __init__(self, desk, kind, folder, filter_text):
        self.desk = desk
        self.log = desk.root / f"dialog-{kind}-{os.getpid()}-{id(self)}.txt"
        probe = os.environ["VELUMO_DIALOGPROBE"]
        self.process = desk.spawn([probe, kind, str(folder), filter_text, BEFORE], log=self.log)

    def wait_dialog(self, title, count=1):
        windows = self.desk.wait_window(title, pid=self.process.pid, count=count)
        self.desk.activate(windows if count == 1 else windows[-1])
        return windows

    def answer(self):
        self.desk.wait(lambda: self.process.poll() is not None, "the dialog to close")
        lines = self.log.read_text(encoding="utf-8").splitlines()
        values = dict(line.split("=", 1) for line in lines if line.startswith(("FileName=", "FileTitle=")))
        return values["FileName"], values["FileTitle"]


class FileDialog(unittest.TestCase):
    def setUp(self):
        self.desk = self.enterContext(Desktop())
        self.music = self.desk.root / "My Music"
        self.music.mkdir()
        (self.music / "first song.mp3").write_bytes(b"\0" * 64)

    # A path typed into the open dialog comes back as FileName, with its bare name as FileTitle.
    def test_open_returns_typed_file(self):
        run = DialogRun(self.desk, "open", self.music, TRACKS)
        run.wait_dialog("Abrir")
        self.desk.type_text(str(self.music / "first song.mp3"))
        self.desk.key("Return")
        self.assertEqual(run.answer(), (str(self.music / "first song.mp3"), "first song.mp3"))

    # Cancelling leaves FileName as the caller set it. (Nothing is typed first: a name typed
    # here may open the completion list, which would take the Escape for itself.)
    def test_cancel_keeps_file_name(self):
        run = DialogRun(self.desk, "open", self.music, TRACKS)
        run.wait_dialog("Abrir")
        self.desk.key("Escape")
        self.assertEqual(run.answer(), (BEFORE, ""))

    # Without a starting folder the dialog opens in the home folder, not in the working folder
    # nor where Qt remembers an earlier run left off; a bare name then names a file there.
    def test_opens_at_home_not_where_last_left(self):
        for folder in (self.desk.home, self.desk.root):
            (folder / "first song.mp3").write_bytes(b"\0" * 64)
        settings = self.desk.home / ".config" / "QtProject.conf"
        settings.write_text(f"[FileDialog]\nlastVisited=file://{self.music}\n")
        run = DialogRun(self.desk, "open", "", TRACKS)
        run.wait_dialog("Abrir")
        self.desk.type_text("first song.mp3")
        self.desk.key("Return")
        self.assertEqual(run.answer(), (str(self.desk.home / "first song.mp3"), "first song.mp3"))

    # Saving under a new name in the starting folder returns that name; nothing is written.
    def test_save_returns_new_name(self):
        run = DialogRun(self.desk, "save", self.music, PLAYLISTS)
        run.wait_dialog("Guardar como")
        self.desk.type_text("mix.smp")
        self.desk.key("Return")
        self.assertEqual(run.answer(), (str(self.music / "mix.smp"), "mix.smp"))
        self.assertFalse((self.music / "mix.smp").exists())

    # Saving over an existing file asks first; agreeing returns that file.
    def test_save_over_existing_file_asks(self):
        (self.music / "mix.smp").write_bytes(b"old\r\n")
        run = DialogRun(self.desk, "save", self.music, PLAYLISTS)
        run.wait_dialog("Guardar como")
        self.desk.type_text("mix.smp")
        self.desk.key("Return")
        run.wait_dialog("Guardar como", count=2)
        self.desk.key("alt+s")
        self.assertEqual(run.answer(), (str(self.music / "mix.smp"), "mix.smp"))
        self.assertEqual((self.music / "mix.smp").read_bytes(), b"old\r\n")


if __name__ == "__main__":
    unittest.main()
