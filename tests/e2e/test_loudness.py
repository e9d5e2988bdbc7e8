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

    def heard(self, files, settings=None):
        """Plays files from the player's command line; how loud each one's tone is heard, in dB
        relative to the first one's."""
        paths = [audio.make_encoded(self.desk.root / name, tone, SECONDS, tags) for name, tone, tags, _ in files]
        program = self.desk.start_player(files=settings)
        self.desk.stop_player(program)
        mark = self.ears.mark()
        self.desk.spawn([str(program.folder / "velumo"), *map(str, paths)], log=self.desk.root / "player.log")
        levels = []
        for _, tone, _, _ in files:
            mark = self.ears.wait_for_tone(tone, after=mark, min_level_db=-70.0).at
            levels.append(self.ears.tone_level(tone, 1.0))
        print("levels (dB):", [round(level, 1) for level in levels])
        return [level - levels[0] for level in levels]

    # One run through the list, each tone measured while it plays.
    def test_gains_are_heard(self):
        for (name, _, _, expected), relative in zip(FILES, self.heard(FILES)):
            self.assertAlmostEqual(relative, expected, delta=1.0, msg=name)

    # "Ganancia.txt" holding 0 plays a tagged file at the level it was stored at.
    def test_turned_off_plays_files_as_stored(self):
        self.assertAlmostEqual(self.heard(FILES[:2], {"Ganancia.txt": "0\n"})[1], 0, delta=1.0)


if __name__ == "__main__":
    unittest.main()
