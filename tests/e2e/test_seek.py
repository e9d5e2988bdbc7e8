"""Seeking from the desktop and the keyboard, heard on the sink, the song's tags on the
desktop, and the next file joining the one before without a gap: a real client (playerctl)
moves within the track and reads its metadata."""

import re
import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
import test_desktop  # noqa: E402


def two_tones(path):
    """Ten seconds at 440 Hz, then thirty at 880 Hz: where playback stands is heard."""
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", str(path),
                    "synth", "10", "sine", "440", ":", "synth", "30", "sine", "880"],
                   check=True, capture_output=True, timeout=120)
    return Path(path)


def flac(wav, *tags):
    """wav as a FLAC file beside it, tagged "title=...", "artist=..." as ffmpeg takes them."""
    target = wav.with_suffix(".flac")
    metadata = [word for tag in tags for word in ("-metadata", tag)]
    subprocess.run(["ffmpeg", "-loglevel", "error", "-i", str(wav), *metadata, str(target)],
                   check=True, capture_output=True, timeout=120)
    return target


class Seeking(unittest.TestCase):
    setUp = test_desktop.MediaControls.setUp
    prop = test_desktop.MediaControls.prop
    wait_status = test_desktop.MediaControls.wait_status

    def playerctl(self, *args):
        done = subprocess.run(["playerctl", "--player=velumo", *args], env=self.desk.env,
                              capture_output=True, text=True, timeout=30)
        return done.stdout.strip()

    def position(self):
        return float(self.playerctl("position") or "nan")

    def start(self, *files):
        program = self.desk.start_player()
        self.desk.stop_player(program)
        self.desk.spawn([str(program.folder / "velumo"), *map(str, files)], log=self.desk.root / "player.log")
        self.desk.main_window()
        self.wait_status("Playing")

    # Ctrl+Right and Ctrl+Left move 5 s on and back from whichever window has the focus:
    # right after Empezar, that is the lyrics window coming up with the track. playerctl moves
    # to an absolute and a relative position. Each is heard where the tone changes.
    def test_keys_and_desktop_move_within_the_track(self):
        program = self.desk.start_player()
        self.desk.main_window()
        self.desk.add_through_dialog(program, two_tones(self.desk.root / "dos_tonos.wav"))
        mark = self.ears.mark()
        self.desk.click_control("cmdPlay")
        lyrics = self.desk.wait_window(" ")
        self.desk.wait(lambda: self.desk.active_window() == lyrics, "the lyrics window to take the focus")
        self.ears.wait_for_tone(440, after=mark)
        # The track moves on by itself meanwhile: the keys must take it further than that.
        before, since = self.position(), time.monotonic()
        mark = self.ears.mark()
        self.desk.key("ctrl+Right", "ctrl+Right")
        self.desk.wait(lambda: self.position() - before > time.monotonic() - since + 5, "the move 10 s on")
        self.ears.wait_for_tone(880, after=mark)
        mark = self.ears.mark()
        self.desk.key("ctrl+Left", "ctrl+Left", "ctrl+Left")
        self.ears.wait_for_tone(440, after=mark)

        self.assertIn("true", self.prop("CanSeek"))
        mark = self.ears.mark()
        self.playerctl("position", "15")
        self.ears.wait_for_tone(880, after=mark)
        self.assertTrue(15 <= self.position() < 20, self.position())
        self.playerctl("position", "5+")
        self.desk.wait(lambda: self.position() >= 20, "the position 5 s on")

    # A tagged file shows its title, artist and album, and its embedded cover as a picture file.
    def test_metadata_shows_the_tags_and_cover(self):
        cover = self.desk.root / "tapa.png"
        subprocess.run(["convert", "-size", "16x16", "xc:red", str(cover)], check=True, timeout=60)
        song = self.desk.root / "cancion.flac"
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=f=440:d=30",
                        "-i", str(cover), "-map", "0", "-map", "1", "-c:v", "png", "-disposition:v", "attached_pic",
                        "-metadata", "title=Canción de prueba", "-metadata", "artist=Añoranza",
                        "-metadata", "album=Álbum", str(song)], check=True, capture_output=True, timeout=120)
        self.start(song)
        self.desk.wait(lambda: "Canción de prueba" in self.playerctl("metadata"), "the title tag")
        metadata = self.playerctl("metadata")
        self.assertIn("Añoranza", metadata)
        self.assertIn("Álbum", metadata)
        art = self.playerctl("metadata", "mpris:artUrl")
        self.assertTrue(art.startswith("file://"), metadata)
        self.assertTrue(Path(art[len("file://"):]).is_file(), art)

        # The desktop is told every kind the player plays, as its desktop entry lists them.
        entry = (Path(__file__).resolve().parents[2] / "resources/desktop/velumo.desktop").read_text()
        kinds = re.search(r"^MimeType=(.*)$", entry, re.M).group(1).strip(";").split(";")
        supported = subprocess.run(
            ["gdbus", "call", "--session", "--dest", test_desktop.SERVICE, "--object-path", test_desktop.OBJECT,
             "--method", "org.freedesktop.DBus.Properties.Get", "org.mpris.MediaPlayer2", "SupportedMimeTypes"],
            env=self.desk.env, capture_output=True, text=True, timeout=30).stdout
        self.assertEqual([kind for kind in kinds if f"'{kind}'" not in supported], [])

    # One tone cut in two, played as two WAV halves and then as two FLAC halves, has no silence
    # of 2 ms at any joint, and the desktop names the last half once it is heard, by its own
    # tags alone.
    def test_halves_of_one_tone_join_without_a_gap(self):
        # The cut is no whole number of any codec's frames. The halves last over a second, as
        # tracks do: the file after a queued one is asked for only once that one is heard.
        rate, tone, seconds, split = 48000, 1000, 2.5, 1.249
        ears = self.enterContext(self.server.recorder(rate=rate))
        first, second = audio.tone_halves(self.desk.root / "flac", tone, seconds, split)
        halves = [*audio.tone_halves(self.desk.root / "wav", tone, seconds, split),
                  flac(first, "title=Primera mitad", "artist=Añoranza"), flac(second, "title=Segunda mitad")]
        mark = ears.mark()
        self.start(*halves)
        own = dict(zip((half.as_uri() for half in halves),
                       ("a.wav|", "b.wav|", "Primera mitad|Añoranza", "Segunda mitad|")))
        seen = set()

        def at_last_half():
            url, _, tags = self.playerctl("metadata", "--format",
                                          "{{xesam:url}}|{{xesam:title}}|{{xesam:artist}}").partition("|")
            seen.add((url, tags))
            return url == halves[-1].as_uri()
        self.desk.wait(at_last_half, "the last half")
        named = ears.index_at(time.monotonic()) - mark
        # Each half is named with its own tags alone, never those of the half before or after it.
        self.assertLessEqual(seen, set(own.items()))
        ears.wait_for_silence(after=mark + named)

        samples = ears.samples(mark)
        start, end = audio.sounding(samples)
        # The sound server may swallow the first hundredth of a second of a stream, never its end.
        self.assertAlmostEqual((end - start) / rate, 2 * seconds, delta=0.03)
        self.assertLess(audio.longest_quiet_ms(samples, rate), 2.0)
        # The desktop hears of the last half a little after the sink plays it, never before.
        joint = end - round((seconds - split) * rate)
        self.assertGreaterEqual(named, joint - 0.05 * rate, "named before it was heard")
        self.assertLess(named, end, "named only after it ended")


if __name__ == "__main__":
    unittest.main()
