#!/usr/bin/env python3
"""Draws the player's 16-colour button bitmaps and icons as PNG files in resources/.

Run it again after changing a drawing; the PNG files it writes are committed."""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(__file__), "..", "resources")

PALETTE = {
    " ": "None", ".": "#000000", "w": "#FFFFFF", "g": "#808080", "l": "#C0C0C0",
    "G": "#00C000", "D": "#008000", "r": "#FF0000", "R": "#800000", "b": "#0000FF",
    "B": "#000080", "y": "#FFFF00", "o": "#FF8000", "c": "#00FFFF", "m": "#FF00FF",
    "k": "#404040",
}


# Drawings are given in the pixels of their 1x size; SCALE draws them larger for high-DPI
# screens (files named "@2x", which Qt picks up by itself).
SCALE = 1


def canvas(w, h, fill=" "):
    return [[fill] * (w * SCALE) for _ in range(h * SCALE)]


def poly_inside(x, y, pts):
    inside = False
    n = len(pts)
    for i in range(n):
        x1, y1 = pts[i]
        x2, y2 = pts[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            xi = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < xi:
                inside = not inside
    return inside


def polygon(c, pts, col):
    pts = [(px * SCALE, py * SCALE) for px, py in pts]
    for y in range(len(c)):
        for x in range(len(c[0])):
            if poly_inside(x + 0.5, y + 0.5, pts):
                c[y][x] = col


def rect(c, x0, y0, x1, y1, col):
    for y in range(y0 * SCALE, y1 * SCALE):
        for x in range(x0 * SCALE, x1 * SCALE):
            c[y][x] = col


def disc(c, cx, cy, r, col):
    cx, cy, r = cx * SCALE, cy * SCALE, r * SCALE
    for y in range(len(c)):
        for x in range(len(c[0])):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                c[y][x] = col


def ring(c, cx, cy, r0, r1, col, a0=0, a1=360):
    cx, cy, r0, r1 = cx * SCALE, cy * SCALE, r0 * SCALE, r1 * SCALE
    for y in range(len(c)):
        for x in range(len(c[0])):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d = math.hypot(dx, dy)
            a = math.degrees(math.atan2(-dy, dx)) % 360
            if r0 <= d <= r1 and a0 <= a <= a1:
                c[y][x] = col


def line(c, x0, y0, x1, y1, width, col):
    x0, y0, x1, y1, width = x0 * SCALE, y0 * SCALE, x1 * SCALE, y1 * SCALE, width * SCALE
    for y in range(len(c)):
        for x in range(len(c[0])):
            px, py = x + 0.5, y + 0.5
            vx, vy = x1 - x0, y1 - y0
            t = max(0, min(1, ((px - x0) * vx + (py - y0) * vy) / (vx * vx + vy * vy)))
            if math.hypot(px - (x0 + t * vx), py - (y0 + t * vy)) <= width / 2:
                c[y][x] = col


def button_face():
    c = canvas(32, 32)
    rect(c, 1, 1, 31, 31, "k")
    rect(c, 2, 2, 30, 30, ".")
    return c


def note(c, x, y, s, col):
    disc(c, x, y, 3.2 * s, col)
    rect(c, int(x + 2.2 * s), int(y - 14 * s), int(x + 3.4 * s), int(y), col)
    polygon(c, [(x + 2.2 * s, y - 14 * s), (x + 9 * s, y - 9 * s), (x + 9 * s, y - 6.5 * s),
                (x + 3.4 * s, y - 10.5 * s)], col)


def heart(c, cx, cy, s, col):
    disc(c, cx - 5 * s, cy - 3 * s, 5.5 * s, col)
    disc(c, cx + 5 * s, cy - 3 * s, 5.5 * s, col)
    polygon(c, [(cx - 10.3 * s, cy - 1 * s), (cx + 10.3 * s, cy - 1 * s), (cx, cy + 11 * s)], col)


def app_icon(s):
    c = canvas(32 * s, 32 * s)
    disc(c, 16 * s, 16 * s, 15 * s, "B")
    ring(c, 16 * s, 16 * s, 13.5 * s, 15 * s, "b")
    note(c, 12 * s, 23 * s, 1.0 * s, "y")
    return c


def write(name, c):
    write_to(os.path.join(OUT, name + ".png"), c)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_to(path, c):
    """An indexed PNG of the drawing's own colours; "None" is the transparent one. Written with
    no time in it, so that drawing again gives the same bytes."""
    used = sorted({p for row in c for p in row})
    index = {k: i for i, k in enumerate(used)}
    h, w = len(c), len(c[0])
    palette = b"".join(bytes.fromhex("000000" if PALETTE[k] == "None" else PALETTE[k][1:]) for k in used)
    alpha = bytes(0 if PALETTE[k] == "None" else 255 for k in used)
    rows = b"".join(b"\0" + bytes(index[p] for p in row) for row in c)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 3, 0, 0, 0))
    data += chunk(b"PLTE", palette)
    if 0 in alpha:
        data += chunk(b"tRNS", alpha)
    data += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def buttons_and_icons():
    """The pictures drawn at every scale: the six buttons, the tray and credits icons."""
    suffix = "" if SCALE == 1 else "@%dx" % SCALE
    play = button_face()
    polygon(play, [(10, 7), (10, 25), (25, 16)], "G")
    write("play" + suffix, play)

    pause = button_face()
    rect(pause, 9, 8, 14, 24, "y")
    rect(pause, 18, 8, 23, 24, "y")
    write("pause" + suffix, pause)

    stop = button_face()
    rect(stop, 9, 9, 23, 23, "r")
    write("stop" + suffix, stop)

    back = button_face()
    rect(back, 6, 9, 9, 23, "c")
    polygon(back, [(9, 16), (17, 9), (17, 23)], "c")
    polygon(back, [(17, 16), (25, 9), (25, 23)], "c")
    write("back" + suffix, back)

    forward = button_face()
    polygon(forward, [(7, 9), (15, 16), (7, 23)], "c")
    polygon(forward, [(15, 9), (23, 16), (15, 23)], "c")
    rect(forward, 23, 9, 26, 23, "c")
    write("forward" + suffix, forward)

    mute = button_face()
    rect(mute, 5, 12, 10, 20, "w")
    polygon(mute, [(9, 12), (16, 6), (16, 26), (9, 20)], "w")
    line(mute, 19, 11, 27, 21, 2.5, "r")
    line(mute, 27, 11, 19, 21, 2.5, "r")
    write("mute" + suffix, mute)

    tray = canvas(32, 32)
    disc(tray, 16, 16, 15, "o")
    ring(tray, 16, 16, 13.5, 15, "R")
    note(tray, 12, 23, 1.0, ".")
    write("tray" + suffix, tray)

    thanx = canvas(32, 32)
    heart(thanx, 16, 16, 1.25, "r")
    write("thanx" + suffix, thanx)


def folder_back(c, top, width):
    """A folder's tab and back, top its tab's top row."""
    rect(c, 1, top, 7, top + 2, "R")
    rect(c, 1, top + 1, 1 + width, top + 11, "R")


def dialog_pictures():
    """The file dialog's pictures, 16 pixels square: folders, files, the drive and its buttons."""
    suffix = "" if SCALE == 1 else "@%dx" % SCALE
    folder = canvas(16, 16)
    folder_back(folder, 3, 14)
    rect(folder, 2, 6, 14, 13, "y")
    write("folder" + suffix, folder)

    file = canvas(16, 16)
    polygon(file, [(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)], "k")
    polygon(file, [(4, 2), (9.5, 2), (12, 4.5), (12, 14), (4, 14)], "w")
    for y in (6, 8, 10, 12):
        rect(file, 6, y, 11, y + 1, "g")
    write("file" + suffix, file)

    drive = canvas(16, 16)
    rect(drive, 1, 5, 15, 12, "k")
    rect(drive, 2, 6, 14, 11, "l")
    rect(drive, 11, 8, 13, 9, "G")
    write("drive" + suffix, drive)

    back = canvas(16, 16)
    polygon(back, [(2, 8), (8, 2), (8, 5.5), (14, 5.5), (14, 10.5), (8, 10.5), (8, 14)], "B")
    write("arrowback" + suffix, back)

    forward = canvas(16, 16)
    polygon(forward, [(14, 8), (8, 2), (8, 5.5), (2, 5.5), (2, 10.5), (8, 10.5), (8, 14)], "B")
    write("arrowforward" + suffix, forward)

    parent = canvas(16, 16)
    polygon(parent, [(8, 1), (14, 7), (10.5, 7), (10.5, 14), (5.5, 14), (5.5, 7), (2, 7)], "D")
    write("parentfolder" + suffix, parent)

    newfolder = canvas(16, 16)
    folder_back(newfolder, 5, 12)
    rect(newfolder, 2, 8, 12, 15, "y")
    rect(newfolder, 12, 0, 14, 6, "G")
    rect(newfolder, 10, 2, 16, 4, "G")
    write("newfolder" + suffix, newfolder)

    listview = canvas(16, 16)
    for x in (1, 9):
        for y in (2, 7, 12):
            rect(listview, x, y, x + 2, y + 2, "B")
            rect(listview, x + 3, y, x + 6, y + 2, "k")
    write("listview" + suffix, listview)

    detailview = canvas(16, 16)
    for y in (2, 7, 12):
        rect(detailview, 1, y, 3, y + 2, "B")
        rect(detailview, 4, y, 9, y + 2, "k")
        rect(detailview, 10, y, 15, y + 2, "g")
    write("detailview" + suffix, detailview)

    ok = canvas(16, 16)
    line(ok, 2, 9, 6, 13, 2.5, "D")
    line(ok, 6, 13, 14, 3, 2.5, "D")
    write("dialogok" + suffix, ok)

    cancel = canvas(16, 16)
    line(cancel, 3, 3, 13, 13, 2.5, "r")
    line(cancel, 13, 3, 3, 13, 2.5, "r")
    write("dialogcancel" + suffix, cancel)

    opening = canvas(16, 16)
    folder_back(opening, 3, 12)
    polygon(opening, [(4, 7), (16, 7), (13, 14), (1, 14)], "y")
    write("dialogopen" + suffix, opening)

    save = canvas(16, 16)
    rect(save, 1, 1, 15, 15, "B")
    rect(save, 4, 1, 12, 6, "w")
    rect(save, 3, 9, 13, 15, "l")
    write("dialogsave" + suffix, save)


def main():
    global SCALE
    for SCALE in (1, 2):
        buttons_and_icons()
        dialog_pictures()
    SCALE = 1
    write("velumo", app_icon(1))
    write("velumo@2x", app_icon(2))
    # The icons installed for the desktop's menus.
    for size, scale in ((32, 1), (128, 4)):
        write_to(os.path.join(OUT, "desktop", "velumo-%d.png" % size), app_icon(scale))

    about = canvas(48, 48, "b")
    ring(about, 24, 24, 19, 22, "c")
    note(about, 18, 34, 1.5, "y")
    write("about", about)

    greeting = canvas(92, 89, "l")
    heart(greeting, 40, 45, 3.0, "r")
    heart(greeting, 68, 30, 1.3, "m")
    heart(greeting, 22, 16, 0.9, "R")
    write("greeting", greeting)


if __name__ == "__main__":
    main()
