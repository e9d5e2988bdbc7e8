"""The real engine plays every kind of file the player accepts out loud, at the right pitch,
and its volume and mute change what comes out of the speakers."""

import os
import queue
import subprocess
import sys
import tempfile
import threading
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402

TIMEOUT = audio.DEFAULT_TIMEOUT


def probe_program():
    if os.environ.get("VELUMO_ENGINEPROBE"):
        return os.environ["VELUMO_ENGINEPROBE"]
    return str(Path(os.environ["VELUMO_BINARY"]).parent / "tests" / "engineprobe")


class EngineProbe:
    """The engine in a small program of its own, driven line by line (see engineprobe.cpp)."""

    def __init__(self, env):
        self.process = audio.spawn([probe_program()], env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.replies = queue.Queue()
        self.ends = queue.Queue()
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        for line in self.process.stdout:
            line = line.strip()
            (self.ends if line == "ended" else self.replies).put(line)

    def command(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        try:
            return self.replies.get(timeout=TIMEOUT)
        except queue.Empty:
            raise TimeoutError(f"the engine did not answer {line!r}") from None

    def ok(self, line):
        reply = self.command(line)
        if not reply.startswith("ok"):
            raise AssertionError(f"{line!r} answered {reply!r}")
        return reply

    def wait_ended(self):
        try:
            self.ends.get(timeout=TIMEOUT)
        except queue.Empty:
            raise TimeoutError("the file never ended") from None

    def close(self):
        audio.stop_process(self.process)
        self.process.stdin.close()
        self._thread.join(audio.STOP_TIMEOUT)
        self.process.stdout.close()


class EngineSound(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="velumo-sound-")
        root = Path(cls.folder.name)
        cls.files = {
            "wav": (audio.make_wav(root / "tone.wav", 330, 2), 330.0),
            "mp3": (audio.make_mp3(root / "tone.mp3", 550, 2), 550.0),
            "midi": (audio.make_midi(root / "note.mid", 69, 2), audio.midi_note_frequency(69)),
            "mpg": (audio.make_mpg(root / "clip.mpg", 880, 2), 880.0),
        }
        for kind, frequency in (("flac", 330), ("ogg", 440), ("opus", 550), ("m4a", 660), ("aac", 770), ("wma", 880)):
            cls.files[kind] = (audio.make_encoded(root / f"tone.{kind}", frequency, 2), float(frequency))
        cls.long_wav = audio.make_wav(root / "long.wav", 440, 8)
        cls.server = audio.SoundServer().start()

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.folder.cleanup()

    def setUp(self):
        self.ears = self.server.recorder().start()
        self.addCleanup(self.ears.stop)
        self.engine = EngineProbe(self.server.env())
        self.addCleanup(self.engine.close)

    def play(self, path):
        mark = self.ears.mark()
        self.engine.ok(f"file {path}")
        self.engine.ok("start")
        return mark

    # Each format reaches the speakers as the tone it holds and then the engine reports its
    # end. MIDI is synthesised about 12 dB louder than the synthesiser's own quiet default.
    def test_every_format_sounds_at_its_pitch(self):
        for kind, (path, frequency) in self.files.items():
            with self.subTest(kind):
                self.ears.wait_for_tone(frequency, after=self.play(path))
                self.assertGreater(self.ears.tone_level(frequency, 0.3), -30.0, f"{kind} plays too quietly")
                self.engine.wait_ended()
                self.ears.wait_for_silence()

    # The quietest and the loudest slider positions are 10 dB apart.
    def test_volume_range_is_ten_decibels(self):
        levels = {}
        for level in (0, -1000):
            self.engine.ok(f"volume {level}")
            self.ears.wait_for_tone(440, after=self.play(self.long_wav))
            levels[level] = self.ears.tone_level(440)
            self.engine.ok("stop")
            self.ears.wait_for_silence()
        self.assertAlmostEqual(levels[0] - levels[-1000], 10.0, delta=1.5)

    # Mute silences the file while it goes on playing, and unmuting brings it back.
    def test_mute_silences_and_restores(self):
        self.ears.wait_for_tone(440, after=self.play(self.long_wav))
        self.engine.ok("mute 1")
        self.ears.wait_for_silence()
        self.engine.ok("mute 0")
        self.ears.wait_for_tone(440)
        self.engine.ok("stop")


if __name__ == "__main__":
    unittest.main(verbosity=2)
