"""Hostile files made at test time, and the checks that the player came through them whole.

Shared by the hostile-input tests and the add-and-remove soak run. Random content comes from
one seed, printed once, so that a failure can be made again with VELUMO_HOSTILE_SEED.
"""

import hashlib
import os
import pwd
import random
import shutil
import stat
import struct
import time
import zlib
from pathlib import Path

from harness import MAIN_TITLE, Player, wait_until

# A player blocked on a read never answers; a busy two-core machine may keep a healthy one
# waiting for a while, so the bound is generous and the time it took is printed.
ANSWER_TIMEOUT = 10.0
# Files above this size are compared by size and time instead of by their bytes.
HASH_LIMIT = 64 * 1024 * 1024
GIB = 1024 * 1024 * 1024
HUGE_SIDE = 20000

# Fixed, so that every run meets the same inputs; another seed explores others.
SEED = int(os.environ.get("VELUMO_HOSTILE_SEED", "20240613"))
_random = random.Random(SEED)
print(f"hostile inputs from seed {SEED} (VELUMO_HOSTILE_SEED)", flush=True)

UNPRIVILEGED = "nobody"
UNPRIVILEGED_GROUP = "nogroup"


def random_bytes(count):
    return _random.randbytes(count)


def garbage_text(lines):
    """Binary garbage with line ends, NULs, lone CRs and invalid UTF-8 sprinkled through."""
    chunks = []
    for _ in range(lines):
        chunks.append(random_bytes(_random.randint(0, 300)))
        chunks.append(_random.choice([b"\r\n", b"\n", b"\r", b"\x00", b"\xff\xfe", b""]))
    return b"".join(chunks)


def fifo(path):
    os.mkfifo(path)
    return Path(path)


def sparse(path, size=GIB):
    with open(path, "wb") as out:
        out.truncate(size)
    return Path(path)


def truncated(source, target):
    """The first half of a file, cut in the middle of a frame, not at a frame's edge."""
    data = Path(source).read_bytes()
    Path(target).write_bytes(data[:len(data) // 2 + 7])
    return Path(target)


def huge_png(path, side=HUGE_SIDE):
    """A small PNG whose header claims side x side pixels; its pixel data runs out early."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0)
    rows = zlib.compress(b"\x00" + b"\xff\x00\x00" * side)
    Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", rows)
                           + chunk(b"IEND", b""))
    return Path(path)


def huge_bmp(path, side=HUGE_SIDE):
    """A 24-bit BMP header claiming side x side pixels, followed by one row of them."""
    row = b"\x00\x00\xff" * side
    size = 54 + len(row) * side
    header = b"BM" + struct.pack("<IHHI", size & 0xFFFFFFFF, 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 24, 0, 0, 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + row)
    return Path(path)


def huge_gif(path, side=HUGE_SIDE):
    """A GIF whose screen and one image claim side x side pixels, with almost no data."""
    screen = b"GIF89a" + struct.pack("<HHBBB", side, side, 0x80, 0, 0) + b"\x00\x00\x00\xff\x00\x00"
    image = b"\x2c" + struct.pack("<HHHHB", 0, 0, side, side, 0) + b"\x02\x02\x44\x01\x00"
    Path(path).write_bytes(screen + image + b"\x3b")
    return Path(path)


def wait_open_in(pid, folder, timeout):
    """Waits, polling as fast as it can, until the process holds a file of folder open for
    writing (an unnamed temporary counts); returns what its descriptor names."""
    prefix = str(folder) + "/"
    fds = Path(f"/proc/{pid}/fd")
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for fd in os.listdir(fds):
            try:
                target = os.readlink(fds / fd)
            except OSError:
                continue
            if target.startswith(prefix):
                return target
    raise TimeoutError(f"no file of {folder} was opened within {timeout:g} s")


def unprivileged_ids():
    user = pwd.getpwnam(UNPRIVILEGED)
    return user.pw_uid, user.pw_gid


def _fingerprint(path):
    info = path.lstat()
    if not stat.S_ISREG(info.st_mode):
        return ("kind", stat.S_IFMT(info.st_mode), info.st_mode & 0o7777)
    if info.st_size > HASH_LIMIT:
        return ("large", info.st_size, info.st_mtime_ns)
    return ("bytes", hashlib.sha256(path.read_bytes()).hexdigest(), info.st_mode & 0o7777)


def snapshot(*folders, skip=()):
    """What each file and folder under the given folders is: bytes, kind and mode."""
    seen = {}
    for folder in map(Path, folders):
        paths = sorted(folder.rglob("*")) if folder.is_dir() else [folder]
        for path in paths:
            if path.name not in skip:
                seen[str(path)] = _fingerprint(path)
    return seen


class PlayerChecks:
    """Checks of a running player, for a unittest.TestCase that has self.desk."""

    def player_windows(self, player):
        return self.desk.shown_windows(player.pid)

    def answer_menu(self, player):
        """Opens the first menu with Alt+A and waits for its popup, then closes it; returns
        how long the popup took to show."""
        main = self.desk.main_window()
        self.desk.activate(main)
        self.desk.park_pointer()
        before = self.player_windows(player)
        began = time.monotonic()
        self.desk.key("alt+a")
        popup = self.desk.wait(lambda: self.player_windows(player) - before,
                               "the menu to open", ANSWER_TIMEOUT)
        took = time.monotonic() - began
        self.desk.key("Escape")
        self.desk.wait(lambda: not (self.player_windows(player) & popup), "the menu to close",
                       ANSWER_TIMEOUT)
        return took

    def select_first_row(self):
        left, top, width, _ = self.desk.control_rect("PlayList")
        self.desk.click(self.desk.main_window(), left + width // 3, self.desk.menu_bar_height() + top + 9)

    def close_error_box(self):
        box = self.desk.wait_window("Error")
        self.desk.activate(box)
        self.desk.key("Return")
        self.desk.wait_window_gone("Error")

    def assert_healthy(self, player, case, error_box=False):
        """The player runs, shows the load error only when error_box says so, and answers."""
        self.assertTrue(player.alive(), f"{case}: the player ended")
        if error_box:
            self.close_error_box()
        took = self.answer_menu(player)
        self.assertEqual(self.desk.find_windows("Error"), [], f"{case}: an unexpected message")
        titles = [self.desk._x(["xdotool", "getwindowname", str(window)], check=False).strip()
                  for window in self.player_windows(player)]
        unexpected = [title for title in titles if title not in (MAIN_TITLE, "velumo", "")]
        self.assertEqual(unexpected, [], f"{case}: unexpected windows")
        print(f"{case}: alive, menu answered in {took * 1000:.0f} ms", flush=True)

    def choose(self, title, path):
        dialog = self.desk.wait_window(title)
        self.desk.activate(dialog)
        self.desk.type_text(str(path))
        self.desk.key("Return")
        self.desk.wait_window_gone(title)

    def load_playlist(self, path):
        self.desk.click_control("cmdLoad")
        self.choose("Abrir", path)

    def add_track(self, path):
        self.desk.click_control("cdmAdd")
        self.choose("Abrir", path)

    def refuse_in_dialog(self, path, warns):
        """Types path in the open dialog, which must refuse it (with the dialog's own warning
        when warns) and stay open, then cancels it."""
        dialog = self.desk.wait_window("Abrir")
        self.desk.activate(dialog)
        self.desk.type_text(str(path))
        self.desk.key("Return")
        if warns:
            warning = next(w for w in self.desk.wait_window("Abrir", count=2) if w != dialog)
            self.desk.activate(warning)
            self.desk.key("Return")
        self.desk.wait(lambda: self.desk.find_windows("Abrir") == [dialog], "the dialog alone")
        self.desk.activate(dialog)
        # The first Escape may only close the name completer's popup.
        for _ in range(3):
            self.desk.key("Escape")
            try:
                return wait_until(lambda: not self.desk.find_windows("Abrir"), "the dialog to close", 5)
            except TimeoutError:
                continue
        self.desk.wait_window_gone("Abrir")

def start_player(desk, files=None, fifos=(), unprivileged=False, unreadable=(), env=None):
    """Starts the player from a fresh program folder, like Desktop.start_player, with FIFOs
    beside it as well when asked, and when unprivileged as a user who owns the program's
    folder yet cannot read the files named in unreadable."""
    os.chmod(desk.root, 0o711)
    folder = Path(desk.root) / f"program-hostile-{len(desk._players)}"
    folder.mkdir()
    for name, content in (files or {}).items():
        target = folder / name
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(content.encode() if isinstance(content, str) else content)
    for name in fifos:
        (folder / name).parent.mkdir(parents=True, exist_ok=True)
        fifo(folder / name)
    source = Path(os.environ["VELUMO_BINARY"])
    program = folder / source.name
    shutil.copy2(source, program)
    command = [str(program)]
    own = dict(env or {})
    if unprivileged:
        command = _unprivileged(desk, folder, unreadable, own) + command
    log = folder.parent / f"{folder.name}.log"
    player = Player(desk.spawn(command, log=log, env=own), folder, log)
    desk._players.append(player)
    return player


def _unprivileged(desk, folder, unreadable, env):
    uid, gid = unprivileged_ids()
    for path in [folder, *folder.rglob("*")]:
        if path.relative_to(folder).as_posix() in unreadable:
            os.chmod(path, 0o600)
        elif path.is_dir():
            os.chown(path, uid, gid)
    home = Path(desk.root) / f"home-{UNPRIVILEGED}"
    runtime = home / "runtime"
    runtime.mkdir(parents=True, exist_ok=True)
    for path in (home, runtime):
        os.chown(path, uid, gid)
        os.chmod(path, 0o700)
    env.update({"HOME": str(home), "XDG_RUNTIME_DIR": str(runtime),
                "XDG_CONFIG_HOME": str(home / ".config"), "XDG_CACHE_HOME": str(home / ".cache"),
                "XDG_DATA_HOME": str(home / ".local" / "share")})
    return ["setpriv", f"--reuid={UNPRIVILEGED}", f"--regid={UNPRIVILEGED_GROUP}", "--clear-groups", "--"]
