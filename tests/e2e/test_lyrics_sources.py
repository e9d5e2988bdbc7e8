"""A person plays tracks whose lyrics are not in the Lyrics folder beside the player: beside the
track, in a FLAC's comment, in an MP3's USLT frame, timed in an Ogg's comment, and a UTF-16 file
in the Lyrics folder; the lyrics window shows each, and marks the sung line of the timed ones."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
from harness import Desktop  # noqa: E402

TONE = 440
SECONDS = 40


def syncsafe(size):
    return bytes((size >> shift) & 0x7F for shift in (21, 14, 7, 0))


def with_uslt(mp3, text):
    """mp3 with an ID3v2.4 tag before it holding one USLT frame of UTF-8 text."""
    body = b"\x03spa\x00" + text.encode()
    frame = b"USLT" + syncsafe(len(body)) + b"\x00\x00" + body
    mp3.write_bytes(b"ID3\x04\x00\x00" + syncsafe(len(frame)) + frame + mp3.read_bytes())
    return mp3


class LyricsFromEveryPlace(unittest.TestCase):
    def setUp(self):
        server = self.enterContext(audio.SoundServer())
        self.desk = self.enterContext(Desktop(tray=True))
        self.desk.add_env(server.client_env())
        self.music = self.desk.root / "musica"
        self.music.mkdir()

    # Avanzar steps through the tracks; the window shows each one's lyrics from wherever they
    # are, and the timed ones without their times, marking one line after the other.
    def test_each_place_shown(self):
        music = self.music
        (music / "junto.txt").write_text("Letra junto a la pista", encoding="cp1252")
        tracks = [
            (audio.make_wav(music / "junto.wav", TONE, SECONDS), "Letra junto a la pista"),
            (audio.make_encoded(music / "comentario.flac", TONE, SECONDS, ["LYRICS=Canción del comentario"]),
             "Canción del comentario"),
            (with_uslt(audio.make_mp3(music / "uslt.mp3", TONE, SECONDS), "Señal USLT\nsegunda"),
             "Señal USLT\nsegunda"),
            (audio.make_encoded(music / "marcada.ogg", TONE, SECONDS,
                                ["LYRICS=[00:00.20]Primera marcada\n[00:02.50]Segunda marcada"]),
             "Primera marcada\nSegunda marcada"),
            (audio.make_wav(music / "utf16.wav", TONE, SECONDS), "Canción en UTF-16\r\nañeja"),
        ]
        utf16 = "\ufeffCanción en UTF-16\r\nañeja".encode("utf-16-le")
        program = self.desk.start_player(files={"Lyrics/utf16.txt": utf16})
        self.desk.stop_player(program)
        self.desk.spawn([str(program.folder / "velumo"), *(str(track) for track, _ in tracks)],
                        log=self.desk.root / "player.log")
        self.desk.main_window()
        window = self.desk.lyrics_window()
        for index, (track, lyrics) in enumerate(tracks):
            if index:
                self.desk.click_control("cmdForward")
            if track.suffix == ".ogg":
                first = self.desk.wait_mark_below(window, None, "the first timed line to be marked")
                self.desk.wait_mark_below(window, first, "the second timed line to be marked")
            expected = lyrics.replace("\r\n", "\n")
            self.desk.wait(lambda: self.desk.copied_lyrics(window) == expected, f"the lyrics of {track.name}")


if __name__ == "__main__":
    unittest.main()
