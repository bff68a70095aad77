#!/usr/bin/env python3
# Waits until points of the screen show given colours, and prints the time
# (seconds since 1970, as bash's EPOCHREALTIME) when they first all did:
# a window counts as shown once it is painted, not when it is mapped.
#   painted.py SECONDS X,Y=RRGGBB[/RRGGBB...] ...
# Reads the screen through Xlib (no module beyond Python's own); fails when
# a point already shows its colour at the start, as then nothing is measured.
import ctypes
import sys
import time

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XFree.argtypes = [ctypes.c_void_p]


class XImage(ctypes.Structure):  # its head, up to the functions
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p)]


display = x11.XOpenDisplay(None)
if not display:
    sys.exit("painted.py: no X display")
root = x11.XDefaultRootWindow(display)
limit = time.time() + float(sys.argv[1])
points = []
for arg in sys.argv[2:]:
    where, colours = arg.split("=")
    x, y = (int(v) for v in where.split(","))
    points.append((x, y, {int(c, 16) for c in colours.split("/")}))


def pixel(x, y):
    image = x11.XGetImage(display, root, x, y, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
    if not image:
        return None
    value = x11.XGetPixel(image, 0, 0) & 0xFFFFFF
    # The image's data and itself, as XDestroyImage does for a plain image.
    x11.XFree(ctypes.cast(image, ctypes.POINTER(XImage)).contents.data)
    x11.XFree(image)
    return value


def all_shown():
    return all(pixel(x, y) in colours for x, y, colours in points)


if all_shown():
    sys.exit("painted.py: the colours are on screen before the window")
print("ready", flush=True)
while not all_shown():
    if time.time() > limit:
        sys.exit("painted.py: timed out waiting for " + " ".join(sys.argv[2:]))
    time.sleep(0.003)
print("%.6f" % time.time(), flush=True)
