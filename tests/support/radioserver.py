#!/usr/bin/python3
"""A small internet radio for tests: an endless MP3 tone, sent at its own pace.

  GET /stream       the tone; as an ICY stream (station name, a title in every block) when the
                    client asks with "Icy-MetaData: 1"
  GET /station.pls  a station playlist naming /stream; /station the same, served as such
  GET /silent       accepted and never answered

Lines on standard input change it: "title <text>" sets the title sent from the next block on,
"drop" closes every open stream connection. The port is printed on standard output once
listening, then "stream" for each stream connection made.
"""

import argparse
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

BIT_RATE = 128000
# Sent at once, so that a client starts without waiting for the pace.
HEAD_START_SECONDS = 2
# Bytes of sound between two titles: half a second.
METAINT = 8000


def make_tone(seconds, frequency):
    with tempfile.TemporaryDirectory() as folder:
        wav = os.path.join(folder, "tone.wav")
        mp3 = os.path.join(folder, "tone.mp3")
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", wav,
                        "synth", str(seconds), "sine", str(frequency)], check=True)
        # -t: no header frame, so that the tone can be repeated as a plain run of frames.
        subprocess.run(["lame", "--quiet", "-t", "-b", str(BIT_RATE // 1000), wav, mp3],
                       check=True)
        with open(mp3, "rb") as file:
            return file.read()


def metadata_block(title):
    text = "StreamTitle='{}';".format(title.replace("'", "")).encode("utf-8")
    blocks = -(-len(text) // 16)
    return bytes([blocks]) + text.ljust(blocks * 16, b"\0")


class Radio:
    def __init__(self, tone, name, title, metaint):
        self.tone, self.name, self.title, self.metaint = tone, name, title, metaint
        self.lock = threading.Lock()
        self.streams = set()

    def drop(self):
        with self.lock:
            for connection in self.streams:
                try:
                    connection.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        radio = self.server.radio
        if self.path == "/stream":
            self.stream(radio)
        elif self.path in ("/station.pls", "/station"):
            port = self.server.server_address[1]
            self.reply("audio/x-scpls", "[playlist]\nNumberOfEntries=1\n"
                       "File1=http://127.0.0.1:{}/stream\nTitle1=Tono\n".format(port))
        elif self.path == "/silent":
            time.sleep(3600)
        else:
            self.send_error(404)

    def reply(self, kind, text):
        body = text.encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def stream(self, radio):
        icy = self.headers.get("Icy-MetaData") == "1"
        self.send_response(200)
        self.send_header("Content-Type", "audio/mpeg")
        if icy:
            self.send_header("icy-name", radio.name)
            self.send_header("icy-metaint", str(radio.metaint))
        self.end_headers()
        with radio.lock:
            radio.streams.add(self.connection)
        say("stream")
        try:
            self.send_paced(radio, icy)
        except OSError:
            pass
        finally:
            with radio.lock:
                radio.streams.discard(self.connection)

    def send_paced(self, radio, icy):
        started = time.monotonic()
        looped = radio.tone * 2
        offset = sent = 0
        while True:
            self.wfile.write(looped[offset:offset + radio.metaint]
                             + (metadata_block(radio.title) if icy else b""))
            offset = (offset + radio.metaint) % len(radio.tone)
            sent += radio.metaint
            time.sleep(max(0, sent * 8 / BIT_RATE - HEAD_START_SECONDS - (time.monotonic() - started)))


def say(line):
    print(line, flush=True)


def read_commands(radio):
    for line in sys.stdin:
        command, _, argument = line.rstrip("\n").partition(" ")
        if command == "title":
            radio.title = argument
        elif command == "drop":
            radio.drop()


def main():
    options = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    options.add_argument("--name", default="Radio de prueba")
    options.add_argument("--title", default="Artista - Canción")
    arguments = options.parse_args()
    radio = Radio(make_tone(3, 440), arguments.name, arguments.title, METAINT)
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.radio = radio
    threading.Thread(target=read_commands, args=(radio,), daemon=True).start()
    say(server.server_address[1])
    server.serve_forever()


if __name__ == "__main__":
    main()
