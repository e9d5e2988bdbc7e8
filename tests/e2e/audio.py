"""Listening to what the player plays, for end-to-end tests.

A private PulseAudio daemon with one null sink runs as a child of the test; whatever is
played into it is recorded from the sink's monitor and searched for tones:

    with SoundServer() as server, server.recorder() as ears:
        env = server.client_env()          # give these to the player's process
        mark = ears.mark()
        ... start playing a 440 Hz tone ...
        reading = ears.wait_for_tone(440, after=mark)
        print(reading.frequency, reading.level_db)
        ears.wait_for_silence()

Every process is started in a session of its own and stopped by its pid when its block ends.
Waits poll the recording with a bounded timeout; nothing sleeps for a fixed time. Only the
Python standard library and Debian's sound and media tools are used. The helpers at the end
make short test files of every kind the player accepts.
"""

import math
import os
import shutil
import subprocess
import tempfile
import threading
import time
from dataclasses import dataclass
from pathlib import Path

from processes import STOP_TIMEOUT, spawn, stop_process

# No session bus: nothing we start may find one, or start one that outlives the test.
DEAD_BUS = "unix:path=/nonexistent/velumo-test-bus"

DEFAULT_TIMEOUT = 30.0
SINK_NAME = "velumo_null"


class AudioError(Exception):
    pass


@dataclass
class ToneReading:
    """What one stretch of the recording held: its strongest frequency and how loud it was."""
    frequency: float  # Hz
    level_db: float   # dB below a full-scale sine; 0 is the loudest possible tone
    at: int           # index of the stretch's last sample in the recording


class SoundServer:
    """A private PulseAudio daemon with a null sink, on a socket in a temporary folder."""

    def __init__(self, sink_name=SINK_NAME, start_timeout=DEFAULT_TIMEOUT):
        self.sink_name = sink_name
        self.monitor_name = sink_name + ".monitor"
        self.start_timeout = start_timeout
        self.root = None
        self.socket_path = None
        self.process = None
        self._log = None

    @property
    def pid(self):
        return self.process.pid if self.process else None

    @property
    def server_address(self):
        return "unix:" + str(self.socket_path)

    def client_env(self):
        """The variables a child process needs to play into this server and nowhere else."""
        return {
            "PULSE_SERVER": self.server_address,
            "PULSE_SINK": self.sink_name,
            "PULSE_COOKIE": str(self.root / "cookie"),
            "DBUS_SESSION_BUS_ADDRESS": DEAD_BUS,
        }

    def env(self, base=None):
        """A whole environment for a child: base (default: ours) with client_env() over it."""
        merged = dict(os.environ if base is None else base)
        merged.update(self.client_env())
        return merged

    def start(self):
        self.root = Path(tempfile.mkdtemp(prefix="velumo-pulse-"))
        runtime = self.root / "runtime"
        runtime.mkdir(mode=0o700)
        self.socket_path = runtime / "native"
        daemon_env = self.env()
        daemon_env.update({
            "HOME": str(self.root),
            "XDG_RUNTIME_DIR": str(runtime),
            "XDG_CONFIG_HOME": str(self.root / "config"),
            "PULSE_STATE_PATH": str(self.root / "state"),
            "PULSE_RUNTIME_PATH": str(runtime),
        })
        self._log = open(self.root / "pulseaudio.log", "wb")
        self.process = spawn(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
             "--use-pid-file=no", "--system=no", "--log-target=stderr",
             "-L", f"module-native-protocol-unix socket={self.socket_path} auth-anonymous=1",
             "-L", f"module-null-sink sink_name={self.sink_name} rate=48000 channels=2"],
            daemon_env, stdin=subprocess.DEVNULL, stdout=self._log, stderr=subprocess.STDOUT)
        self._wait_ready()
        return self

    def _wait_ready(self):
        deadline = time.monotonic() + self.start_timeout
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise AudioError("the sound server ended at start:\n" + self.log_text())
            probe = subprocess.run(["pactl", "--server", self.server_address, "list", "short", "sinks"],
                                   env=self.env(), stdin=subprocess.DEVNULL, capture_output=True, timeout=10)
            if probe.returncode == 0 and self.sink_name.encode() in probe.stdout:
                return
            time.sleep(0.05)
        raise AudioError(f"the sound server was not ready after {self.start_timeout:g} s:\n" + self.log_text())

    def log_text(self):
        try:
            return (self.root / "pulseaudio.log").read_text(errors="replace")
        except OSError:
            return ""

    def recorder(self, rate=8000):
        """A Recorder of this server's null sink (not yet started when used without `with`)."""
        return Recorder(self, rate)

    def stop(self):
        if self.process:
            stop_process(self.process)
            self.process = None
        if self._log:
            self._log.close()
            self._log = None
        if self.root:
            shutil.rmtree(self.root, ignore_errors=True)
            self.root = None

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.stop()
            raise

    def __exit__(self, *exc):
        self.stop()


class Recorder:
    """Records the null sink's monitor with parec, raw signed 16-bit mono, in the background.

    Sample indexes count from the start of the recording; mark() gives the current one, so
    that a wait can look only at what was played after some action, and index_at() the one
    the sink played at a moment of time.monotonic().
    """

    def __init__(self, server, rate=8000):
        self.server = server
        self.rate = rate
        self.process = None
        self._data = bytearray()
        self._began = None
        self._lock = threading.Lock()
        self._thread = None

    def start(self):
        self.process = spawn(
            ["parec", "--server", self.server.server_address, "-d", self.server.monitor_name,
             "--format=s16le", "--channels=1", f"--rate={self.rate}", "--raw", "--latency-msec=20"],
            self.server.env(), stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()
        # The recording has begun once the first silence from the monitor has come in.
        self._wait(lambda: self.mark() > 0, "the recording to begin", DEFAULT_TIMEOUT)
        return self

    def _read(self):
        stream = self.process.stdout
        while True:
            chunk = stream.read1(4096)
            now = time.monotonic()
            if not chunk:
                return
            with self._lock:
                self._data += chunk
                began = now - len(self._data) / 2 / self.rate
                self._began = began if self._began is None else min(self._began, began)

    def stop(self):
        if self.process:
            stop_process(self.process)
            self.process.stdout.close()
            self.process = None
        if self._thread:
            self._thread.join(STOP_TIMEOUT)
            self._thread = None

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.stop()
            raise

    def __exit__(self, *exc):
        self.stop()

    def mark(self):
        """How many samples have been recorded so far."""
        with self._lock:
            return len(self._data) // 2

    def index_at(self, moment):
        """The index of the sample the sink played at a moment of time.monotonic(). What the
        recorder has received lags what the sink plays by a varying amount; the earliest moment
        ever seen for a sample, less the samples before it, is when the recording began, to
        within the least lag there was."""
        with self._lock:
            return int((moment - self._began) * self.rate)

    def samples(self, start=0, end=None):
        """Recorded samples from index start to end (default: all so far), as floats in -1..1."""
        with self._lock:
            count = len(self._data) // 2
            end = count if end is None else min(end, count)
            raw = bytes(self._data[2 * start:2 * end])
        return [value / 32768.0 for value in memoryview(raw).cast("h")]

    def save_wav(self, path):
        """Writes the whole recording to a WAV file, to listen to after a failure."""
        import wave
        with self._lock:
            raw = bytes(self._data[:len(self._data) // 2 * 2])
        with wave.open(str(path), "wb") as out:
            out.setnchannels(1)
            out.setsampwidth(2)
            out.setframerate(self.rate)
            out.writeframes(raw)

    def _wait(self, predicate, what, timeout, interval=0.05):
        deadline = time.monotonic() + timeout
        while True:
            result = predicate()
            if result:
                return result
            if time.monotonic() >= deadline:
                raise TimeoutError(f"gave up after {timeout:g} s waiting for {what}")
            if self.process.poll() is not None:
                raise AudioError("the recorder ended")
            time.sleep(interval)

    def _latest(self, after, window):
        """The newest `window` seconds recorded after sample index `after`, or None."""
        size = int(window * self.rate)
        end = self.mark()
        if end - after < size:
            return None, end
        return self.samples(end - size, end), end

    def wait_for_tone(self, frequency, timeout=DEFAULT_TIMEOUT, after=None, tolerance=None,
                      min_level_db=-50.0, window=0.25):
        """Waits until the newest `window` seconds recorded after sample index `after`
        (default: now) hold `frequency` as their strongest tone, within `tolerance` Hz
        (default 2 %, at least 4 Hz), at least `min_level_db` loud. Returns a ToneReading."""
        after = self.mark() if after is None else after
        tolerance = max(4.0, frequency * 0.02) if tolerance is None else tolerance
        last = []

        def heard():
            stretch, end = self._latest(after, window)
            if stretch is None:
                return None
            found, level = dominant_frequency(stretch, self.rate)
            last[:] = [found, level]
            if level >= min_level_db and abs(found - frequency) <= tolerance:
                return ToneReading(found, level, end)
            return None

        try:
            return self._wait(heard, f"a tone of {frequency:g} Hz", timeout, interval=0.1)
        except TimeoutError as error:
            raise TimeoutError(f"{error}; last heard {last[0]:.1f} Hz at {last[1]:.1f} dB"
                               if last else str(error)) from None

    def wait_for_silence(self, timeout=DEFAULT_TIMEOUT, after=None, max_level_db=-60.0, window=0.5):
        """Waits until the newest `window` seconds recorded after `after` (default: now) are
        quieter than `max_level_db`; returns the sample index where that stretch ends."""
        after = self.mark() if after is None else after

        def quiet():
            stretch, end = self._latest(after, window)
            return end if stretch is not None and level_db(stretch) < max_level_db else None

        return self._wait(quiet, "silence", timeout, interval=0.1)

    def tone_level(self, frequency, seconds=0.5, timeout=DEFAULT_TIMEOUT):
        """Records `seconds` more from now and returns how loud `frequency` is in them, in dB
        below a full-scale sine. Call it while the tone is known to go on that long."""
        start = self.mark()
        size = int(seconds * self.rate)
        self._wait(lambda: self.mark() - start >= size, f"{seconds:g} s of recording", timeout)
        return amplitude_db(tone_amplitude(self.samples(start, start + size), self.rate, frequency))


def _hann(count):
    return [0.5 - 0.5 * math.cos(2 * math.pi * i / (count - 1)) for i in range(count)]


def tone_amplitude(samples, rate, frequency, window=None):
    """The amplitude (0..1) of a sine of `frequency` in `samples`, by Goertzel's algorithm over
    Hann-windowed samples."""
    count = len(samples)
    window = window or _hann(count)
    coefficient = 2 * math.cos(2 * math.pi * frequency / rate)
    previous = before = 0.0
    for sample, weight in zip(samples, window):
        previous, before = sample * weight + coefficient * previous - before, previous
    power = previous * previous + before * before - coefficient * previous * before
    # The Hann window halves a sine's amplitude on average; a whole sine shows at count / 2.
    return 4 * math.sqrt(max(power, 0.0)) / count


def amplitude_db(amplitude):
    return 20 * math.log10(amplitude) if amplitude > 0 else -200.0


def level_db(samples):
    """The loudness of `samples` in dB below a full-scale sine of the same power."""
    if not samples:
        return -200.0
    mean_square = sum(s * s for s in samples) / len(samples)
    return 10 * math.log10(2 * mean_square) if mean_square > 0 else -200.0


def dominant_frequency(samples, rate, low=80.0, high=3000.0):
    """The strongest tone in `samples` and its level in dB: a coarse Goertzel scan over a
    short slice, then a fine scan of the whole stretch around the coarse peak."""
    coarse_slice = samples[-min(len(samples), 256):]
    coarse_window = _hann(len(coarse_slice))
    step = 2.0 * rate / len(coarse_slice)
    candidates = [low + step * i for i in range(int((high - low) / step) + 1)]
    rough = max(candidates, key=lambda f: tone_amplitude(coarse_slice, rate, f, coarse_window))

    window = _hann(len(samples))
    fine_step = 1.0
    fine = [rough - step + fine_step * i for i in range(int(2 * step / fine_step) + 1)]
    amplitudes = [tone_amplitude(samples, rate, f, window) for f in fine]
    best = max(range(1, len(fine) - 1), key=amplitudes.__getitem__)
    return _parabolic_peak(fine, amplitudes, best)


def _parabolic_peak(frequencies, amplitudes, best):
    """Refines the peak between grid points by fitting a parabola to the three dB values around it."""
    left, middle, right = (amplitude_db(amplitudes[best + d]) for d in (-1, 0, 1))
    curvature = left - 2 * middle + right
    offset = 0.5 * (left - right) / curvature if curvature < 0 else 0.0
    step = frequencies[1] - frequencies[0]
    return frequencies[best] + offset * step, middle - 0.25 * (left - right) * offset


def sounding(samples):
    """The indexes of the first and the last sample louder than half the loudest."""
    half = max(abs(x) for x in samples) / 2
    loud = [i for i, x in enumerate(samples) if abs(x) > half]
    return loud[0], loud[-1]


def longest_quiet_ms(samples, rate, quiet=0.05):
    """The longest stretch, in ms, of samples more than `quiet` times below the loudest, between
    the first and the last loud sample: within one steady tone, its longest gap."""
    peak = max(abs(x) for x in samples)
    first, last = sounding(samples)
    longest = stretch = 0
    for x in samples[first:last]:
        stretch = stretch + 1 if abs(x) < peak * quiet else 0
        longest = max(longest, stretch)
    return 1000.0 * longest / rate


def midi_note_frequency(note):
    return 440.0 * 2 ** ((note - 69) / 12)


def _run(args):
    subprocess.run(args, check=True, stdin=subprocess.DEVNULL, capture_output=True, timeout=120)


def make_wav(path, frequency, seconds):
    """A 44.1 kHz stereo WAV file holding one sine tone."""
    _run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", str(path), "synth", str(seconds),
          "sine", str(frequency)])
    return Path(path)


def tone_halves(folder, frequency, seconds, split, second_rate=44100, second_channels=2):
    """Two WAV files, a.wav and b.wav in a new folder, that played one after the other are one
    sine tone of `seconds` at 44.1 kHz stereo, cut `split` seconds in; the second half may come
    from the same tone at another rate or channel count."""
    folder = Path(folder)
    folder.mkdir()

    def tone(name, rate, channels):
        _run(["sox", "-n", "-r", str(rate), "-c", str(channels), "-b", "16", str(folder / name), "synth",
              str(seconds), "sine", str(frequency), "vol", "0.5"])
        return folder / name

    first = tone("whole.wav", 44100, 2)
    second = first if (second_rate, second_channels) == (44100, 2) else tone("other.wav", second_rate,
                                                                             second_channels)
    _run(["sox", str(first), str(folder / "a.wav"), "trim", "0", f"{round(split * 44100)}s"])
    _run(["sox", str(second), str(folder / "b.wav"), "trim", f"{round(split * second_rate)}s"])
    return folder / "a.wav", folder / "b.wav"


def make_mp3(path, frequency, seconds, length_header=True):
    """A 128 kbit/s MP3 of one sine tone; length_header=False leaves out the frame that tells
    its length up front."""
    path = Path(path)
    source = path.with_name(path.name + ".source.wav")
    make_wav(source, frequency, seconds)
    _run(["lame", "--quiet", "-b", "128"] + ([] if length_header else ["-t"]) + [str(source), str(path)])
    source.unlink()
    return path


def make_mpg(path, frequency, seconds):
    """An MPEG-1 program stream with a small black picture and an MP2 sine tone."""
    _run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", f"sine=f={frequency}:d={seconds}",
          "-f", "lavfi", "-i", f"color=c=black:s=64x48:d={seconds}", "-c:v", "mpeg1video", "-c:a", "mp2",
          "-f", "vob", str(path)])
    return Path(path)


def make_encoded(path, frequency, seconds, tags=()):
    """A sine tone in the codec and container that the name's extension asks ffmpeg for:
    FLAC, Ogg Vorbis (.ogg), Opus, AAC (.m4a, .aac) or WMA; tags as ffmpeg takes them ("LYRICS=...")."""
    metadata = [word for tag in tags for word in ("-metadata", tag)]
    _run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", f"sine=f={frequency}:d={seconds}",
          "-ac", "2", *metadata, str(path)])
    return Path(path)


def _variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def make_midi(path, note, seconds, program=73):
    """A Standard MIDI File of one note held for `seconds` on one instrument (by default a
    flute, whose sound is nearly a pure tone at midi_note_frequency(note))."""
    ticks_per_beat = 480  # at the default 120 beats a minute, 960 ticks a second
    track = (_variable_length(0) + bytes([0xC0, program])
             + _variable_length(0) + bytes([0x90, note, 127])
             + _variable_length(int(seconds * 2 * ticks_per_beat)) + bytes([0x80, note, 0])
             + _variable_length(0) + bytes([0xFF, 0x2F, 0x00]))
    header = b"MThd" + (6).to_bytes(4, "big") + (0).to_bytes(2, "big") + (1).to_bytes(2, "big") \
        + ticks_per_beat.to_bytes(2, "big")
    Path(path).write_bytes(header + b"MTrk" + len(track).to_bytes(4, "big") + track)
    return Path(path)
