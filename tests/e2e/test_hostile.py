"""Hostile files thrown at the real player through its dialogs, its playlist files, the
files beside it and its lyrics folder. After each the player must still run, answer a menu
key at once, show no message but the load error where a playlist cannot be read, and leave
every file the user had as it was."""

import os
import signal
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import audio  # noqa: E402
import hostile  # noqa: E402
from harness import MAIN_TITLE, Desktop  # noqa: E402

# Long enough that no track ends by itself while the test steps past it.
LONG = 30


class HostileCase(unittest.TestCase, hostile.PlayerChecks):
    sound = False

    def setUp(self):
        if self.sound:
            server = self.enterContext(audio.SoundServer())
            self.server = server
            self.ears = self.enterContext(server.recorder())
        self.desk = self.enterContext(Desktop(tray=True))
        if self.sound:
            self.desk.add_env(self.server.client_env())
        self.music = self.desk.root / "musica"
        self.music.mkdir()

    def play_first_row(self):
        self.select_first_row()
        self.desk.click_control("cmdPlay")

    def user_files(self, *extra):
        return hostile.snapshot(self.music, *extra)


class StartUpFiles(HostileCase):
    # Each start reads "Pic.txt": whatever it holds or names, the window comes up, answers,
    # and neither "Pic.txt" nor what it names is changed.
    def test_background_files_read_at_start(self):
        pictures = self.desk.root / "fotos"
        pictures.mkdir()
        named = {
            "a FIFO": hostile.fifo(pictures / "tubo.bmp"),
            "a PNG claiming 20000 x 20000": hostile.huge_png(pictures / "enorme.png"),
            "a BMP claiming 20000 x 20000": hostile.huge_bmp(pictures / "enorme.bmp"),
            "a GIF claiming 20000 x 20000": hostile.huge_gif(pictures / "enorme.gif"),
            "random bytes named .jpg": self.write(pictures / "ruido.jpg", hostile.random_bytes(50000)),
            "a 1 GiB sparse file named .bmp": hostile.sparse(pictures / "hueco.bmp"),
            "a folder named .gif": self.folder(pictures / "carpeta.gif"),
            "a missing file": pictures / "no-existe.jpg",
        }
        cases = [(f"Pic.txt naming {what}", f"{path}\r\n".encode()) for what, path in named.items()]
        cases += [("Pic.txt of garbage", hostile.random_bytes(3000)), ("an empty Pic.txt", b""),
                  ("a Pic.txt of one byte", b"x"), ("a Pic.txt of 100000 bytes", b"a" * 100000 + b"\r\n")]
        for case, content in cases:
            with self.subTest(case):
                self.start_with({"Pic.txt": content}, case, pictures)
        with self.subTest("a FIFO as Pic.txt"):
            self.start_with({}, "a FIFO as Pic.txt", pictures, fifos=["Pic.txt"])

    def start_with(self, files, case, pictures, fifos=()):
        before = hostile.snapshot(pictures)
        player = hostile.start_player(self.desk, files=files, fifos=fifos)
        self.desk.main_window()
        self.assert_healthy(player, case)
        kept = {name: player.path(name).read_bytes() for name in files}
        self.desk.stop_player(player)
        self.desk.wait_window_gone(MAIN_TITLE)
        self.assertEqual(hostile.snapshot(pictures), before, f"{case}: a picture changed")
        self.assertEqual(kept, files, f"{case}: a settings file changed")
        for name in fifos:
            self.assertTrue(player.path(name).is_fifo(), f"{case}: {name} is no longer a FIFO")

    @staticmethod
    def write(path, content):
        path.write_bytes(content)
        return path

    @staticmethod
    def folder(path):
        path.mkdir()
        return path



class TracksAndLyrics(HostileCase):
    sound = True

    def hostile_tracks(self):
        """Each hostile track's name, what it is, and what its lyrics file is."""
        m = self.music
        random_with = {
            "ruido.mp3": b"", "ruido.mid": b"", "ruidos.wav": b"", "ruidom.mpg": b"",
            "falso.mp3": b"\xff\xfb\x90\x64", "falso.mid": b"MThd\x00\x00\x00\x06\x00\x01\x00\x01\x01\xe0MTrk",
            "falso.wav": b"RIFF\xff\xff\xff\x7fWAVEfmt ", "falso.mpg": b"\x00\x00\x01\xba",
        }
        for name, head in random_with.items():
            (m / name).write_bytes(head + hostile.random_bytes(40000))
        (m / "vacio.mp3").write_bytes(b"")
        (m / "carpeta.mp3").mkdir()
        hostile.fifo(m / "tubo.wav")
        return [
            ("nada.mp3", "a missing track, a FIFO for lyrics"),
            ("vacio.mp3", "a zero-byte track"),
            ("ruido.mp3", "random bytes named .mp3, random lyrics"),
            ("ruido.mid", "random bytes named .mid"),
            ("ruidos.wav", "random bytes named .wav, a folder for lyrics"),
            ("ruidom.mpg", "random bytes named .mpg, zero-byte lyrics"),
            ("carpeta.mp3", "a folder named like a track"),
            ("tubo.wav", "a FIFO named like a track, a FIFO for lyrics"),
            ("falso.mp3", "a frame header and random bytes"),
            ("falso.mid", "a MIDI header and random bytes"),
            ("falso.wav", "a RIFF header claiming 2 GiB and random bytes"),
            ("falso.mpg", "a pack header and random bytes"),
        ]

    def hostile_lyrics(self, folder):
        lyrics = folder / "Lyrics"
        hostile.fifo(lyrics / "nada.txt")
        (lyrics / "ruido.txt").write_bytes(hostile.garbage_text(200))
        (lyrics / "ruidos.txt").mkdir()
        (lyrics / "ruidom.txt").write_bytes(b"")
        hostile.fifo(lyrics / "tubo.txt")

    # Stepping with "Avanzar" over tracks that cannot play, with lyrics that cannot be shown:
    # every step answers at once and nothing is left changed.
    def test_hostile_tracks_and_lyrics(self):
        tracks = self.hostile_tracks()
        playlist = self.desk.root / "hostil.smp"
        playlist.write_bytes("".join(name + "\r\n" for name, _ in tracks).encode())
        player = hostile.start_player(self.desk, files={"Dir.txt": f"{self.music}/\r\n", "Lyrics/x.txt": ""})
        self.hostile_lyrics(player.folder)
        before = self.user_files(player.folder / "Lyrics", playlist)
        self.desk.main_window()
        self.load_playlist(playlist)
        self.assert_healthy(player, "the hostile playlist loaded")
        self.play_first_row()
        self.assert_healthy(player, tracks[0][1])
        for name, case in tracks[1:]:
            self.desk.click_control("cmdForward")
            self.assert_healthy(player, case)
        self.assertEqual(self.user_files(player.folder / "Lyrics", playlist), before)

    # A sparse lyrics file of 1 GiB (all NULs, no line break) is shown cut short, and the
    # window answers at once.
    def test_huge_lyrics_file(self):
        (self.music / "hueco.wav").write_bytes(b"")
        playlist = self.desk.root / "hueco.smp"
        playlist.write_bytes(b"hueco.wav\r\n")
        player = hostile.start_player(self.desk, files={"Dir.txt": f"{self.music}/\r\n", "Lyrics/x.txt": ""})
        hostile.sparse(player.folder / "Lyrics" / "hueco.txt")
        self.desk.main_window()
        self.load_playlist(playlist)
        self.play_first_row()
        self.assert_healthy(player, "1 GiB sparse lyrics")

    # A track cut in the middle of a frame plays up to the cut, and the next one follows.
    def test_truncated_track_moves_on(self):
        whole = audio.make_mp3(self.desk.root / "entero.mp3", 440, 6)
        hostile.truncated(whole, self.music / "cortado.mp3")
        audio.make_wav(self.music / "siguiente.wav", 660, LONG)
        playlist = self.desk.root / "cortado.smp"
        playlist.write_bytes(b"cortado.mp3\r\nsiguiente.wav\r\n")
        player = hostile.start_player(self.desk, files={"Dir.txt": f"{self.music}/\r\n"})
        self.desk.main_window()
        self.load_playlist(playlist)
        mark = self.ears.mark()
        self.play_first_row()
        self.ears.wait_for_tone(440, after=mark)
        self.ears.wait_for_tone(660, after=mark)
        self.assert_healthy(player, "a truncated MP3 followed by a WAV")



class PlaylistFiles(HostileCase):
    def write(self, name, content):
        path = self.lists / name
        path.write_bytes(content)
        return path

    def setUp(self):
        super().setUp()
        self.lists = self.desk.root / "listas"
        self.lists.mkdir()
        for name in ("uno.wav", "dos.wav"):
            (self.music / name).write_bytes(b"")
        self.remembered = f"{self.music}/\r\n".encode()
        self.player = hostile.start_player(self.desk, files={"Dir.txt": self.remembered})
        self.desk.main_window()

    def load_case(self, path, case, error_box=False):
        self.load_playlist(path)
        self.assert_healthy(self.player, case, error_box)

    # Playlist files that are no text, too long, or no file at all: each either loads what
    # it can or shows the load error, and none is changed.
    def test_hostile_playlist_files(self):
        garbage = self.write("basura.smp", hostile.garbage_text(2000))
        empty = self.write("vacia.smp", b"")
        long = self.write("larga.smp", b"".join(b"pista%05d.wav\r\n" % i for i in range(40000)))
        pipe = hostile.fifo(self.lists / "tubo.smp")
        (self.lists / "carpeta.smp").mkdir()
        before = self.user_files(self.lists)

        for case, path, warns in (("a missing playlist file", self.lists / "no-existe.smp", True),
                                  ("a folder named like a playlist file", self.lists / "carpeta.smp", False)):
            self.desk.click_control("cmdLoad")
            self.refuse_in_dialog(path, warns)
            self.assert_healthy(self.player, case)
        self.load_case(empty, "an empty playlist file")
        self.load_case(garbage, "a playlist file of binary garbage")
        self.load_case(pipe, "a FIFO named like a playlist file", error_box=True)
        self.desk.click_control("cmdDelAll")
        # More lines than the playlist can hold: it fills up, and the rest is a failure.
        self.load_case(long, "a playlist file of 40000 lines", error_box=True)
        self.desk.click_control("cmdDelAll")
        self.assert_healthy(self.player, "the full playlist cleared")
        self.assertEqual(self.user_files(self.lists), before)

    # The remembered folder, read at each load, holds garbage, nothing, one byte, or is a
    # FIFO: a load either takes the garbage as its folder or shows the load error.
    def test_hostile_remembered_folder(self):
        playlist = self.write("unix.smp", b"uno.wav\ndos.wav\n")
        remembered = self.player.path("Dir.txt")
        cases = [("a Dir.txt of garbage", hostile.random_bytes(500), False),
                 ("an empty Dir.txt", b"", True), ("a Dir.txt of one byte", b"/", True)]
        for case, content, fails in cases:
            remembered.write_bytes(content)
            self.load_case(playlist, case, error_box=fails)
            self.assertEqual(remembered.read_bytes(), content, f"{case}: Dir.txt changed")
        remembered.unlink()
        hostile.fifo(remembered)
        self.load_case(playlist, "a FIFO as Dir.txt", error_box=True)
        self.assertTrue(remembered.is_fifo())

    # Line ends of either kind and names in Windows-1252 load as the names they are: saved
    # again, they come out as one name a line in UTF-8 with CR LF.
    def test_line_ends_and_code_pages_round_trip(self):
        names = ["uno.wav", "dos.wav", "canción, \"ñandú\".wav", "-Müller 50% #1.wav"]
        unix = self.write("unix.smp", "".join(n + "\n" for n in names[:2]).encode())
        windows = self.write("windows.smp", "".join(n + "\r\n" for n in names[2:]).encode("cp1252"))
        before = hostile.snapshot(self.lists)
        self.load_case(unix, "a playlist file with LF only")
        self.load_case(windows, "a playlist file in Windows-1252")
        saved = self.music / "salida.smp"
        self.desk.click_control("cmdSave")
        self.choose("Guardar como", saved)
        self.desk.wait(saved.exists, "the saved playlist")
        self.assertEqual(saved.read_bytes(), "".join(n + "\r\n" for n in names).encode())
        self.assertEqual(hostile.snapshot(self.lists), before)



class InterruptedSave(HostileCase):
    OLD = b"viejo.wav\r\notro.wav\r\n"
    ATTEMPTS = 3

    # The player is killed outright while it writes a large playlist over an older one: the
    # older file is still there, whole, byte for byte.
    def test_kill_during_save_keeps_previous_file(self):
        names = [f"{'pista larga ' * 25}{i:05d}.wav" for i in range(32767)]
        big = self.desk.root / "grande.smp"
        big.write_bytes("".join(n + "\r\n" for n in names).encode())
        target = self.music / "lista.smp"
        for attempt in range(1, self.ATTEMPTS + 1):
            target.write_bytes(self.OLD)
            if self.kill_while_saving(big, target):
                self.assertEqual(target.read_bytes(), self.OLD, "the previous playlist file was damaged")
                print(f"killed in the middle of the save at attempt {attempt}: the old file is whole")
                return
            # Killed too late: the new playlist was then written whole.
        self.fail(f"no kill landed in the middle of a save in {self.ATTEMPTS} attempts")

    def kill_while_saving(self, big, target):
        """Saves over target and kills the player when the new file's temporary appears;
        True when the kill came before the new file replaced the old one."""
        player = hostile.start_player(self.desk, files={"Dir.txt": f"{self.music}/\r\n"})
        self.desk.main_window()
        self.load_playlist(big)
        self.assert_healthy(player, "a playlist of 32767 long names")
        self.desk.click_control("cmdSave")
        dialog = self.desk.wait_window("Guardar como")
        self.desk.activate(dialog)
        self.desk.type_text(str(target))
        self.desk.key("Return")
        # The dialog asks before it replaces a file.
        question = next(w for w in self.desk.wait_window("Guardar como", count=2) if w != dialog)
        self.desk.activate(question)
        self.desk.key("alt+s")
        writing = hostile.wait_open_in(player.pid, self.music, 60)
        os.kill(player.pid, signal.SIGKILL)
        player.wait_exit()
        self.desk.wait_window_gone(MAIN_TITLE)
        print(f"killed while it held {writing} open")
        return target.read_bytes() != big.read_bytes()



class Unreadable(HostileCase):
    # Run as a user whom the files' modes deny: an unreadable picture named by "Pic.txt", an
    # unreadable track (chosen in the dialog and loaded from a playlist), its unreadable
    # lyrics, an unreadable playlist file and an unreadable "Dir.txt".
    def test_files_without_read_permission(self):
        secret = self.music / "secreto.wav"
        audio.make_wav(secret, 440, 1)
        secret.chmod(0o600)
        picture = self.desk.root / "fondo.bmp"
        picture.write_bytes(b"BM" + hostile.random_bytes(200))
        picture.chmod(0o600)
        closed_list = self.desk.root / "cerrada.smp"
        closed_list.write_bytes(b"secreto.wav\r\n")
        closed_list.chmod(0o600)
        open_list = self.desk.root / "abierta.smp"
        open_list.write_bytes(b"secreto.wav\r\nsecreto.wav\r\n")
        files = {"Dir.txt": f"{self.music}/\r\n", "Pic.txt": f"{picture}\r\n", "Lyrics/secreto.txt": b"letra"}
        player = hostile.start_player(self.desk, files=files, unprivileged=True,
                                      unreadable=["Lyrics/secreto.txt"])
        before = self.user_files(player.folder / "Lyrics", picture, closed_list, open_list)
        self.desk.main_window()
        self.assertEqual(os.stat(f"/proc/{player.pid}").st_uid, hostile.unprivileged_ids()[0])
        self.assert_healthy(player, "an unreadable picture named by Pic.txt")
        self.add_track(secret)
        self.assert_healthy(player, "an unreadable track chosen in the dialog")
        self.desk.click_control("cmdPlay")
        self.assert_healthy(player, "an unreadable track and its unreadable lyrics played")
        self.load_playlist(closed_list)
        self.assert_healthy(player, "an unreadable playlist file", error_box=True)
        self.load_playlist(open_list)
        self.desk.click_control("cmdForward")
        self.assert_healthy(player, "unreadable tracks loaded from a playlist")
        remembered = player.path("Dir.txt")
        remembered.chmod(0o600)
        self.load_playlist(open_list)
        self.assert_healthy(player, "an unreadable Dir.txt", error_box=True)
        self.assertEqual(self.user_files(player.folder / "Lyrics", picture, closed_list, open_list), before)
        self.desk.stop_player(player)
        self.desk.wait_window_gone(MAIN_TITLE)

        again = hostile.start_player(self.desk, files={"Pic.txt": f"{picture}\r\n"}, unprivileged=True,
                                     unreadable=["Pic.txt"])
        self.desk.main_window()
        self.assert_healthy(again, "an unreadable Pic.txt")
        self.assertEqual(again.path("Pic.txt").read_bytes(), f"{picture}\r\n".encode())



class OddNames(HostileCase):
    sound = True
    # Typed into the dialog (ASCII only can be typed; the dialog reads double quotes as a list
    # of names) ...
    TYPED = ["con espacio.wav", "Rock, Pop.wav", "-guion.wav", "comilla 'simple'.wav",
             "#uno 50%.wav", "--version.wav"]
    # ... and loaded from playlist files, in UTF-8 and in Windows-1252.
    LISTED = [("canción ñandú.wav", "utf-8"), ("Müller ¿qué?.wav", "cp1252"), ('doble "comilla".wav', "ascii")]

    # Names with blanks, commas, quotes, leading dashes, URL signs and accents reach the
    # engine whole: each track plays its own tone.
    def test_odd_names_play(self):
        names = self.TYPED + [name for name, _ in self.LISTED]
        tones = {name: 500 + 60 * i for i, name in enumerate(names)}
        for name, tone in tones.items():
            audio.make_wav(self.music / name, tone, LONG)
        lists = []
        for name, code in self.LISTED:
            lists.append(self.desk.root / f"{code}.smp")
            lists[-1].write_bytes((name + "\r\n").encode(code))
        player = hostile.start_player(self.desk)
        self.desk.main_window()
        before = self.user_files(*lists)
        for name in self.TYPED:
            self.add_track(self.music / name)
        for path in lists:
            self.load_playlist(path)
        self.assert_healthy(player, "odd names added")
        mark = self.ears.mark()
        self.play_first_row()
        for index, name in enumerate(names):
            if index:
                mark = self.ears.mark()
                self.desk.click_control("cmdForward")
            self.ears.wait_for_tone(tones[name], after=mark)
            print(f"{name!r} played", flush=True)
        self.assert_healthy(player, "odd names played")
        self.assertEqual(self.user_files(*lists), before)


if __name__ == "__main__":
    unittest.main(verbosity=2)
