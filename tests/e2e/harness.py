"""A private desktop for end-to-end tests: Xvfb, a window manager, a tray host and the player.

Use it as a context manager:

    with Desktop(tray=True) as desk:
        player = desk.start_player()
        main = desk.main_window()
        desk.click_control("cdmAdd")
        desk.menu("&Archivo", "Acciones", "Empezar")

Every process it starts runs in a session of its own and is stopped by its pid when the block
ends, whether or not the test failed. Waits poll for an event with a bounded timeout; nothing
sleeps for a fixed time. Only the Python standard library and the X tools of Debian are used.
"""

import ctypes
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

from processes import die_with_parent, stop_process

MAIN_TITLE = "Velumo MP3 Player"
CLIENT_WIDTH = 398
CLIENT_HEIGHT = 302

# Generous, because the tests share a small, busy machine.
DEFAULT_TIMEOUT = 30.0

# The main window's controls: left, top, width, height in twips, from the top-left corner of
# the client area below the menu bar. 15 twips make a pixel.
CONTROLS = {
    "LblSongName": (0, 0, 4095, 255),
    "LblSongTimer1": (4080, 0, 375, 255),
    "Label1": (4440, 0, 255, 255),
    "LblSongTimer2": (4680, 0, 375, 255),
    "lblMM": (5040, 0, 375, 255),
    "Label2": (5400, 0, 255, 255),
    "lblSS": (5640, 0, 375, 255),
    "cmdBack": (1440, 360, 495, 495),
    "cmdPlay": (2040, 360, 495, 495),
    "cmdPause": (2640, 360, 495, 495),
    "cmdStop": (3240, 360, 495, 495),
    "cmdForward": (3840, 360, 495, 495),
    "cmdShuffle": (4560, 480, 855, 255),
    "PlayList": (120, 960, 5175, 2010),
    "Slider": (5400, 960, 495, 1575),
    "cmdMute": (5400, 2520, 495, 495),
    "cdmAdd": (240, 4080, 975, 375),
    "cmdDelete": (1320, 4080, 975, 375),
    "cmdDelAll": (2400, 4080, 1215, 375),
    "cmdSave": (3720, 4080, 975, 375),
    "cmdLoad": (4800, 4080, 975, 375),
}

# The menu bar, in order; a tuple is a cascading submenu.
MENUS = [
    ("&Archivo", ["Agregar", "Borrar", "Guardar", "Abrir",
                  ("Acciones", ["Retroceder", "Empezar", "Pausa", "Detener", "Avanzar"]), "Salir"]),
    ("Opciones", ["Sin Sonido", "Imagen de Fondo", "Ocultar Todo", "Mostrar Todo"]),
    ("Letras", ["Ver Letras", "Ocultar Letras"]),
    ("Ayuda", ["Ayuda", "Acerca de"]),
]

# Variables of the caller's environment that would tie the player to the caller's session.
_SESSION_PREFIXES = ("DISPLAY", "WAYLAND_", "DBUS_", "XDG_", "QT_", "PULSE_", "SESSION_MANAGER",
                     "XAUTHORITY", "GTK_", "DESKTOP_SESSION", "HOME", "GST_")


class HarnessError(Exception):
    pass


@dataclass
class Geometry:
    """A window's client area on the screen, in pixels."""
    x: int
    y: int
    width: int
    height: int


def wait_until(predicate, what, timeout=DEFAULT_TIMEOUT, interval=0.05):
    """Polls predicate until it returns something true, and returns that; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise TimeoutError(f"gave up after {timeout:g} s waiting for {what}")
        time.sleep(interval)


class _SelectionWatcher:
    """Asks the X server who owns a selection; the tray host owns the tray's selection."""

    def __init__(self, display):
        self._xlib = ctypes.CDLL("libX11.so.6")
        self._xlib.XOpenDisplay.restype = ctypes.c_void_p
        self._xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._xlib.XInternAtom.restype = ctypes.c_ulong
        self._xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self._xlib.XGetSelectionOwner.restype = ctypes.c_ulong
        self._xlib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self._xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._display = self._xlib.XOpenDisplay(display.encode())
        if not self._display:
            raise HarnessError(f"cannot open display {display}")

    def owner(self, selection):
        atom = self._xlib.XInternAtom(self._display, selection.encode(), 0)
        return self._xlib.XGetSelectionOwner(self._display, atom)

    def close(self):
        self._xlib.XCloseDisplay(self._display)


class Player:
    """The player started from a program folder of its own (it keeps its files beside itself)."""

    def __init__(self, process, folder, log):
        self.process = process
        self.pid = process.pid
        self.folder = folder
        self.log = log

    def path(self, name):
        """A file beside the program, e.g. player.path("Dir.txt")."""
        return self.folder / name

    def alive(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        """Waits for the player to end by itself and returns its exit status."""
        return self.process.wait(timeout)

    def output(self):
        return self.log.read_text(errors="replace") if self.log.exists() else ""


class Desktop:
    """A private X display with a window manager, optionally a tray host, and a private home."""

    def __init__(self, tray=False, env=None, screen="1280x1024x24"):
        self.tray = tray
        self.screen = screen
        self.extra_env = dict(env or {})
        self.display = None
        self.env = None
        self.root = None
        self.home = None
        self.runtime_dir = None
        self.shots = Path(os.environ.get("VELUMO_E2E_SHOTS", Path.cwd() / "e2e-shots"))
        self._processes = []
        self._players = []
        self._menu_bar_height = None

    # Setting up and tearing down.

    def __enter__(self):
        try:
            self._make_home()
            self._start_x()
            self._start_window_manager()
            if self.tray:
                self._start_tray()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, kind, value, traceback):
        if kind is not None:
            self._report_failure()
        self.close()
        return False

    def close(self):
        """Stops everything that was started, the newest first, each by its pid."""
        while self._processes:
            stop_process(self._processes.pop())
        if self.root and not os.environ.get("VELUMO_E2E_KEEP"):
            shutil.rmtree(self.root, ignore_errors=True)

    def _report_failure(self):
        try:
            shot = self.screenshot(time.strftime("failure-%H%M%S-") + str(os.getpid()))
            print(f"screenshot at the failure: {shot}", file=sys.stderr)
        except Exception as error:  # the display may be what failed
            print(f"no screenshot at the failure: {error}", file=sys.stderr)
        for player in self._players:
            print(f"--- player {player.pid} output ---\n{player.output()[-4000:]}", file=sys.stderr)

    def _make_home(self):
        self.root = Path(tempfile.mkdtemp(prefix="velumo-e2e-"))
        self.home = self.root / "home"
        self.runtime_dir = self.root / "runtime"
        self.home.mkdir()
        self.runtime_dir.mkdir(mode=0o700)
        # Without a sound server of the test's own, no client may start one that outlives it.
        pulse = self.home / ".config" / "pulse"
        pulse.mkdir(parents=True)
        (pulse / "client.conf").write_text("autospawn = no\n")
        env = {k: v for k, v in os.environ.items() if not k.startswith(_SESSION_PREFIXES)}
        env.update({
            "HOME": str(self.home),
            "XDG_RUNTIME_DIR": str(self.runtime_dir),
            "XDG_CONFIG_HOME": str(self.home / ".config"),
            "XDG_CACHE_HOME": str(self.home / ".cache"),
            "XDG_DATA_HOME": str(self.home / ".local" / "share"),
            # A dead bus: nothing may start a bus daemon that outlives the test.
            "DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/velumo-e2e-bus",
            "QT_QPA_PLATFORM": "xcb",
            "LC_ALL": "C.UTF-8",
        })
        env.update(self.extra_env)
        self.env = env

    def add_env(self, mapping):
        """Adds variables for the processes started from now on (e.g. a private sound server)."""
        self.env.update(mapping)

    def spawn(self, args, log=None, env=None):
        """Starts a process that the desktop stops by its pid when it closes."""
        output = open(log, "ab") if log else subprocess.DEVNULL
        try:
            process = subprocess.Popen(
                args, env=dict(self.env, **(env or {})), stdin=subprocess.DEVNULL, stdout=output,
                stderr=subprocess.STDOUT if log else subprocess.DEVNULL,
                start_new_session=True, preexec_fn=die_with_parent, cwd=self.root)
        finally:
            if log:
                output.close()
        self._processes.append(process)
        return process

    def _start_x(self):
        # -displayfd lets the server pick a free display and tell us once it accepts clients.
        read_end, write_end = os.pipe()
        try:
            with open(self.root / "xvfb.log", "ab") as log:
                server = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen,
                     "-nolisten", "tcp", "-noreset"],
                    env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=log,
                    pass_fds=(write_end,), start_new_session=True, preexec_fn=die_with_parent)
            self._processes.append(server)
            os.close(write_end)
            write_end = None
            number = self._read_display_number(read_end, server)
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        self.display = f":{number}"
        self.env["DISPLAY"] = self.display

    @staticmethod
    def _read_display_number(read_end, server):
        text = b""
        deadline = time.monotonic() + DEFAULT_TIMEOUT
        os.set_blocking(read_end, False)
        while not text.endswith(b"\n"):
            if server.poll() is not None:
                raise HarnessError("Xvfb ended before it opened a display")
            if time.monotonic() >= deadline:
                raise TimeoutError("gave up waiting for Xvfb to open a display")
            try:
                chunk = os.read(read_end, 16)
            except BlockingIOError:
                time.sleep(0.05)
                continue
            if not chunk:
                raise HarnessError("Xvfb closed its display pipe without a number")
            text += chunk
        return int(text.strip())

    def _start_window_manager(self):
        manager = self.spawn(["openbox", "--sm-disable"], log=self.root / "openbox.log")

        def running():
            if manager.poll() is not None:
                raise HarnessError("openbox ended at start")
            return "window id #" in self._x(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)

        wait_until(running, "the window manager")

    def _start_tray(self):
        host = self.spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                           "--height", "24"], log=self.root / "trayer.log")
        watcher = _SelectionWatcher(self.display)
        try:
            def ready():
                if host.poll() is not None:
                    raise HarnessError("trayer ended at start")
                return watcher.owner("_NET_SYSTEM_TRAY_S0")

            wait_until(ready, "the tray host")
        finally:
            watcher.close()

    # The player.

    def start_player(self, files=None, binary=None, env=None):
        """Copies the player into a fresh program folder and starts it there.

        files maps names beside the program ("Dir.txt", "Lyrics/x.txt") to text or bytes that
        are written before the start."""
        source = Path(binary or os.environ["VELUMO_BINARY"])
        folder = Path(tempfile.mkdtemp(prefix="program-", dir=self.root))
        for name, content in (files or {}).items():
            target = folder / name
            target.parent.mkdir(parents=True, exist_ok=True)
            if isinstance(content, str):
                content = content.encode()
            target.write_bytes(content)
        program = folder / source.name
        shutil.copy2(source, program)
        log = folder.parent / f"{folder.name}.log"
        player = Player(self.spawn([str(program)], log=log, env=env), folder, log)
        self._players.append(player)
        return player

    def stop_player(self, player):
        stop_process(player.process)

    # Windows.

    def _x(self, args, check=True):
        done = subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                              text=True, timeout=DEFAULT_TIMEOUT)
        if check and done.returncode != 0:
            raise HarnessError(f"{' '.join(args)} failed: {done.stderr.strip()}")
        return done.stdout

    def find_windows(self, title=None, pid=None):
        """The ids of the viewable windows titled exactly title (any title when None), of pid if given.

        Only windows that the window manager manages count: a tray icon, a tooltip or an open
        menu may carry the same title for a moment, but they are not windows a user moves."""
        # --all: a window must have the title and belong to the pid, not either of them.
        args = ["xdotool", "search", "--all", "--onlyvisible"]
        if pid is not None:
            args += ["--pid", str(pid)]
        args += ["--name", "." if title is None else "^" + re.escape(title) + "$"]
        ids = [int(word) for word in self._x(args, check=False).split()]
        return [window for window in ids if self._managed(window)]

    def shown_windows(self, pid):
        """Every shown window of the process, the unmanaged ones too (menus, tooltips)."""
        words = self._x(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], check=False).split()
        return {int(word) for word in words}

    def _managed(self, window):
        state = self._x(["xprop", "-id", str(window), "WM_STATE"], check=False)
        return "window state: Normal" in state

    def wait(self, predicate, what, timeout=DEFAULT_TIMEOUT):
        """wait_until, with a screenshot of the screen as it was when the wait gave up."""
        try:
            return wait_until(predicate, what, timeout)
        except TimeoutError:
            self._report_failure()
            raise

    def wait_window(self, title=None, timeout=DEFAULT_TIMEOUT, pid=None, count=1):
        """Waits until count windows titled exactly title are mapped and viewable; returns their
        ids, the first alone when count is 1."""
        def enough():
            found = self.find_windows(title, pid)
            return found if len(found) >= count else None

        ids = self.wait(enough, f"{count} window(s) titled {title!r}", timeout)
        return ids[0] if count == 1 else ids

    def wait_window_gone(self, title=None, timeout=DEFAULT_TIMEOUT, pid=None):
        self.wait(lambda: not self.find_windows(title, pid), f"no window titled {title!r}", timeout)

    def window_title(self, window):
        return self._x(["xdotool", "getwindowname", str(window)]).strip()

    def main_window(self, timeout=DEFAULT_TIMEOUT):
        """The player's main window; the about window carries the same title, but not its width."""
        def found():
            for window in self.find_windows(MAIN_TITLE):
                if self.geometry(window).width == CLIENT_WIDTH:
                    return window
            return None

        return self.wait(found, "the main window", timeout)

    def visible_titles(self):
        """The titles of all viewable named windows, for checks of what is on screen."""
        titles = []
        for word in self._x(["xdotool", "search", "--onlyvisible", "--name", "."], check=False).split():
            title = self._x(["xdotool", "getwindowname", word], check=False).strip()
            if title:
                titles.append(title)
        return titles

    def geometry(self, window):
        """The window's client area (the part the program draws, menu bar included) on screen."""
        info = self._x(["xwininfo", "-id", str(window)])

        def field(label):
            return int(re.search(re.escape(label) + r":\s+(-?\d+)", info).group(1))

        return Geometry(field("Absolute upper-left X"), field("Absolute upper-left Y"),
                        field("Width"), field("Height"))

    def is_viewable(self, window):
        info = self._x(["xwininfo", "-id", str(window)], check=False)
        return "Map State: IsViewable" in info

    def menu_bar_height(self):
        """The main window's menu bar height, measured once: its client area is 302 high below it."""
        if self._menu_bar_height is None:
            self._menu_bar_height = self.geometry(self.main_window()).height - CLIENT_HEIGHT
        return self._menu_bar_height

    def activate(self, window):
        """Gives the window the keyboard focus and waits until the window manager has done so."""
        self._x(["xdotool", "windowactivate", "--sync", str(window)])

    def active_window(self):
        """The window that has the keyboard focus, as the window manager tells it."""
        return int(self._x(["xdotool", "getactivewindow"], check=False).strip() or 0)

    # Mouse and keyboard.

    def click(self, window, x, y, button=1, repeat=1):
        """Clicks at x, y of the window's client area (the menu bar counts as client area)."""
        self._x(["xdotool", "mousemove", "--window", str(window), str(x), str(y),
                 "click", "--repeat", str(repeat), "--delay", "80", str(button)])

    def double_click(self, window, x, y):
        self.click(window, x, y, repeat=2)

    def control_rect(self, name):
        """A main-window control's rectangle in pixels, relative to the client area below the menu bar."""
        left, top, width, height = (twips // 15 for twips in CONTROLS[name])
        return left, top, width, height

    def control_pixels(self, name):
        """What the screen shows of a main-window control, as raw RGB bytes."""
        window = self.geometry(self.main_window())
        left, top, width, height = self.control_rect(name)
        crop = f"{width}x{height}+{window.x + left}+{window.y + self.menu_bar_height() + top}"
        done = subprocess.run(["import", "-window", "root", "-crop", crop, "+repage", "-depth", "8", "rgb:-"],
                              env=self.env, capture_output=True, check=True, timeout=30)
        return done.stdout

    def click_control(self, name, double=False):
        """Clicks the middle of a main-window control given by its name ("cmdPlay", "cdmAdd")."""
        left, top, width, height = self.control_rect(name)
        self.click(self.main_window(), left + width // 2, self.menu_bar_height() + top + height // 2,
                   repeat=2 if double else 1)

    def add_through_dialog(self, player, path):
        """Adds one file with Agregar, typing its path in the dialog as a person would."""
        self.click_control("cdmAdd")
        self.activate(self.wait_window("Abrir"))
        self.type_text(str(path))
        self.key("Return")
        self.wait(lambda: player.path("Dir.txt").exists(), "the file to be added")

    def menu(self, *captions):
        """Chooses a main-window menu item by its captions: menu("&Archivo", "Acciones", "Empezar").

        It goes by keyboard: Alt+A opens the first menu with its first item active, Right moves
        to the next menu, Down to the next item, Right into a submenu, Return chooses."""
        keys = ["alt+a"] + ["Right"] * self._menu_path(captions, MENUS)
        items = dict(MENUS)[captions[0]]
        for depth, caption in enumerate(captions[1:], start=1):
            index = self._menu_path([caption], items)
            keys += ["Down"] * index
            entry = items[index]
            if depth < len(captions) - 1:
                if not isinstance(entry, tuple):
                    raise HarnessError(f"{caption!r} has no submenu")
                keys.append("Right")
                items = entry[1]
        keys.append("Return")
        window = self.main_window()
        self.activate(window)
        self.park_pointer()
        self.key(*keys)

    @staticmethod
    def _menu_path(captions, entries):
        names = [entry[0] if isinstance(entry, tuple) else entry for entry in entries]
        if captions[0] not in names:
            raise HarnessError(f"no menu item {captions[0]!r} among {names}")
        return names.index(captions[0])

    def park_pointer(self):
        """Moves the pointer to the bottom-left corner, where it hovers over no menu or control."""
        self._x(["xdotool", "mousemove", "0", str(int(self.screen.split("x")[1]) - 1)])

    def key(self, *keys):
        """Presses keys in the focused window, in xdotool's names: key("ctrl+a", "BackSpace", "Return")."""
        self._x(["xdotool", "key", "--delay", "60", *keys])

    def type_text(self, text):
        """Types text in the focused window."""
        self._x(["xdotool", "type", "--delay", "30", "--", text])

    # The lyrics window.

    def lyrics_window(self):
        """The lyrics window: it has no title text, a blank title unlike every other window."""
        return self.wait_window(" ")

    def copied_lyrics(self, window):
        """The whole text of the lyrics window, selected and copied as a person would."""
        self.activate(window)
        self.click(window, 100, 100)
        self.key("ctrl+a", "ctrl+c")
        done = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                              capture_output=True, timeout=30)
        return done.stdout.decode("utf-8", errors="replace")

    def marked_lyrics_row(self, window):
        """The middle of the band of highlight colour down the lyrics window, or None.

        The column looked at lies right of the short lines' text, where only the mark of a whole
        line reaches; the text box is otherwise white or grey, the highlight a saturated colour."""
        area = self.geometry(window)
        column = area.width * 3 // 4
        crop = f"1x{area.height}+{area.x + column}+{area.y}"
        done = subprocess.run(["import", "-window", "root", "-crop", crop, "+repage", "-depth", "8", "rgb:-"],
                              env=self.env, capture_output=True, check=True, timeout=30)
        pixels = done.stdout
        rows = [y for y in range(len(pixels) // 3)
                if max(pixels[3 * y:3 * y + 3]) - min(pixels[3 * y:3 * y + 3]) > 60]
        return (rows[0] + rows[-1]) / 2 if rows else None

    def wait_mark_below(self, window, above, what):
        """Waits for a marked line lower in the lyrics window than the row above (any, if None)."""
        def moved():
            row = self.marked_lyrics_row(window)
            return row if row is not None and (above is None or row > above + 4) else None

        return self.wait(moved, what)

    # Evidence.

    def screenshot(self, name):
        """Saves the whole screen as <shots>/<name>.png and returns the path."""
        self.shots.mkdir(parents=True, exist_ok=True)
        path = self.shots / f"{name}.png"
        self._x(["import", "-window", "root", str(path)])
        return path
