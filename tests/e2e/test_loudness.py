"""Every track at the same loudness: the gain tags of each file are heard on the sink, at the
album's gain where the neighbouring track is of the same album, and Opus's R128 gain too."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
from harness import Desktop  # noqa: E402

SECONDS = 4
# Each file's tone, its tags, and how far below the untagged tone it is to be heard.
FILES = [
    ("plain.flac", 330, [], 0),
    ("quiet.flac", 440, ["REPLAYGAIN_TRACK_GAIN=-10.00 dB", "REPLAYGAIN_TRACK_PEAK=0.125"], -10),
    ("album1.flac", 550, ["ALBUM=Disco", "REPLAYGAIN_TRACK_GAIN=0.00 dB", "REPLAYGAIN_ALBUM_GAIN=-6.00 dB"], -6),
    ("album2.flac", 660, ["ALBUM=Disco", "REPLAYGAIN_TRACK_GAIN=-12.00 dB", "REPLAYGAIN_ALBUM_GAIN=-6.00 dB"], -6),
    # -8 dB on ReplayGain's reference is -13 dB on R128's, in 256ths of a dB.
    ("r128.opus", 770, ["R128_TRACK_GAIN=-3328"], -8),
]


class Loudness(unittest.TestCase):
    def setUp(self):
        server = self.enterContext(audio.SoundServer())
        self.ears = self.enterContext(server.recorder())
        self.desk = self.enterContext(Desktop())
        self.desk.add_env(server.client_env())

    # One run through the list, each tone measured while it plays.
    def test_gains_are_heard(self):
        files = [audio.make_encoded(self.desk.root / name, tone, SECONDS, tags) for name, tone, tags, _ in FILES]
        program = self.desk.start_player()
        self.desk.stop_player(program)
        mark = self.ears.mark()
        self.desk.spawn([str(program.folder / "velumo"), *map(str, files)], log=self.desk.root / "player.log")
        levels = []
        for _, tone, _, _ in FILES:
            mark = self.ears.wait_for_tone(tone, after=mark, min_level_db=-70.0).at
            levels.append(self.ears.tone_level(tone, 1.0))
        heard = [round(level - levels[0], 1) for level in levels]
        print("levels (dB):", [round(level, 1) for level in levels], "relative:", heard)
        for (name, _, _, expected), relative in zip(FILES, heard):
            self.assertAlmostEqual(relative, expected, delta=1.0, msg=name)


if __name__ == "__main__":
    unittest.main()
