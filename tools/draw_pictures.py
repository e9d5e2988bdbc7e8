#!/usr/bin/env python3
"""Draws the player's 16-colour button bitmaps and icons as XPM files in resources/.

Run it again after changing a drawing; the XPM files it writes are committed."""
import math
import os
import subprocess

OUT = os.path.join(os.path.dirname(__file__), "..", "resources")

PALETTE = {
    " ": "None", ".": "#000000", "w": "#FFFFFF", "g": "#808080", "l": "#C0C0C0",
    "G": "#00C000", "D": "#008000", "r": "#FF0000", "R": "#800000", "b": "#0000FF",
    "B": "#000080", "y": "#FFFF00", "o": "#FF8000", "c": "#00FFFF", "m": "#FF00FF",
    "k": "#404040",
}


def canvas(w, h, fill=" "):
    return [[fill] * w for _ in range(h)]


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
    for y in range(len(c)):
        for x in range(len(c[0])):
            if poly_inside(x + 0.5, y + 0.5, pts):
                c[y][x] = col


def rect(c, x0, y0, x1, y1, col):
    for y in range(y0, y1):
        for x in range(x0, x1):
            c[y][x] = col


def disc(c, cx, cy, r, col):
    for y in range(len(c)):
        for x in range(len(c[0])):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                c[y][x] = col


def ring(c, cx, cy, r0, r1, col, a0=0, a1=360):
    for y in range(len(c)):
        for x in range(len(c[0])):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d = math.hypot(dx, dy)
            a = math.degrees(math.atan2(-dy, dx)) % 360
            if r0 <= d <= r1 and a0 <= a <= a1:
                c[y][x] = col


def line(c, x0, y0, x1, y1, width, col):
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
    write_to(os.path.join(OUT, name + ".xpm"), name, c)


def write_to(path, name, c):
    used = sorted({p for row in c for p in row})
    h, w = len(c), len(c[0])
    lines = ["/* XPM */", "static const char *%s[] = {" % name.replace("-", "_"),
             '"%d %d %d 1",' % (w, h, len(used))]
    lines += ['"%s c %s",' % (k, PALETTE[k]) for k in used]
    lines += ['"%s",' % "".join(row) for row in c]
    lines[-1] = lines[-1].rstrip(",")
    lines.append("};")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    play = button_face()
    polygon(play, [(10, 7), (10, 25), (25, 16)], "G")
    write("play", play)

    pause = button_face()
    rect(pause, 9, 8, 14, 24, "y")
    rect(pause, 18, 8, 23, 24, "y")
    write("pause", pause)

    stop = button_face()
    rect(stop, 9, 9, 23, 23, "r")
    write("stop", stop)

    back = button_face()
    rect(back, 6, 9, 9, 23, "c")
    polygon(back, [(9, 16), (17, 9), (17, 23)], "c")
    polygon(back, [(17, 16), (25, 9), (25, 23)], "c")
    write("back", back)

    forward = button_face()
    polygon(forward, [(7, 9), (15, 16), (7, 23)], "c")
    polygon(forward, [(15, 9), (23, 16), (15, 23)], "c")
    rect(forward, 23, 9, 26, 23, "c")
    write("forward", forward)

    mute = button_face()
    rect(mute, 5, 12, 10, 20, "w")
    polygon(mute, [(9, 12), (16, 6), (16, 26), (9, 20)], "w")
    line(mute, 19, 11, 27, 21, 2.5, "r")
    line(mute, 27, 11, 19, 21, 2.5, "r")
    write("mute", mute)

    write("velumo", app_icon(1))
    # The icons installed for the desktop's menus, as PNG files (ImageMagick converts them).
    for size, scale in ((32, 1), (128, 4)):
        xpm = os.path.join(OUT, "desktop", "velumo-%d.xpm" % size)
        write_to(xpm, "velumo_%d" % size, app_icon(scale))
        subprocess.run(["convert", xpm, xpm[:-4] + ".png"], check=True)
        os.remove(xpm)

    tray = canvas(32, 32)
    disc(tray, 16, 16, 15, "o")
    ring(tray, 16, 16, 13.5, 15, "R")
    note(tray, 12, 23, 1.0, ".")
    write("tray", tray)

    thanx = canvas(32, 32)
    heart(thanx, 16, 16, 1.25, "r")
    write("thanx", thanx)

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
