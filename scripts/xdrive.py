#!/usr/bin/env python3
"""Drives an X display through the XTEST extension (standard library + libXtst).

  xdrive.py click X Y        move the pointer to (X, Y) and click button 1
  xdrive.py type TEXT        type TEXT (letters, digits, space, "-", "/", ".") at the focus
  xdrive.py key NAME         press one key by its X keysym name (Tab, Return, ...),
                             or a chord: ctrl+0, shift+F8
  xdrive.py move X Y         move the pointer to (X, Y)
  xdrive.py drag X Y X Y ... press button 1 at the first point, move through
                             the others in small steps, release at the last
  xdrive.py wheel X Y N      move the pointer to (X, Y) and turn the wheel N
                             notches away from the user (N < 0: towards)

The display is taken from $DISPLAY. Used to take the documentation screenshots.
"""
import ctypes
import ctypes.util
import sys
import time

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("xdrive: cannot open the display")


def settle():
    x11.XFlush(display)
    time.sleep(0.15)


def click(x, y):
    xtst.XTestFakeMotionEvent(display, -1, x, y, 0)
    settle()
    xtst.XTestFakeButtonEvent(display, 1, 1, 0)
    settle()
    xtst.XTestFakeButtonEvent(display, 1, 0, 0)
    settle()


def drag(points):
    xtst.XTestFakeMotionEvent(display, -1, points[0][0], points[0][1], 0)
    settle()
    xtst.XTestFakeButtonEvent(display, 1, 1, 0)
    settle()
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        steps = max(1, max(abs(x1 - x0), abs(y1 - y0)) // 4)
        for i in range(1, steps + 1):
            xtst.XTestFakeMotionEvent(display, -1, x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps, 0)
            x11.XFlush(display)
            time.sleep(0.01)
    settle()
    xtst.XTestFakeButtonEvent(display, 1, 0, 0)
    settle()


def wheel(x, y, notches):
    xtst.XTestFakeMotionEvent(display, -1, x, y, 0)
    settle()
    button = 4 if notches > 0 else 5
    for _ in range(abs(notches)):
        xtst.XTestFakeButtonEvent(display, button, 1, 0)
        xtst.XTestFakeButtonEvent(display, button, 0, 0)
        settle()


def key(names):
    """One key, or a chord such as ctrl+0 (modifiers first)."""
    modifiers = {"ctrl": "Control_L", "shift": "Shift_L", "alt": "Alt_L"}
    codes = []
    for name in names.split("+") if len(names) > 1 else [names]:
        code = x11.XKeysymToKeycode(display, x11.XStringToKeysym(modifiers.get(name, name).encode()))
        if not code:
            sys.exit("xdrive: no key for " + name)
        codes.append(code)
    for code in codes:
        xtst.XTestFakeKeyEvent(display, code, 1, 0)
    for code in reversed(codes):
        xtst.XTestFakeKeyEvent(display, code, 0, 0)
    settle()


def type_text(text):
    for ch in text:
        key({" ": "space", "-": "minus", "/": "slash", ".": "period"}.get(ch, ch))


if __name__ == "__main__":
    command = sys.argv[1]
    if command == "click":
        click(int(sys.argv[2]), int(sys.argv[3]))
    elif command == "type":
        type_text(sys.argv[2])
    elif command == "key":
        key(sys.argv[2])
    elif command == "move":
        xtst.XTestFakeMotionEvent(display, -1, int(sys.argv[2]), int(sys.argv[3]), 0)
        settle()
    elif command == "wheel":
        wheel(int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]))
    elif command == "drag":
        numbers = [int(v) for v in sys.argv[2:]]
        drag(list(zip(numbers[::2], numbers[1::2])))
    else:
        sys.exit(__doc__)
    x11.XCloseDisplay(display)
