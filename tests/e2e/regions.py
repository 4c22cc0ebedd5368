#!/usr/bin/env python3
"""Looks at the canvas in screenshots of the main window (raw RGB, 1280 x 1024).

  regions.py pick BEFORE.rgb          prints "x y" inside the largest white area
                                      of the picture that does not reach the canvas edge
  regions.py check BEFORE.rgb AFTER.rgb X Y R G B
                                      exits 0 when exactly the white area around
                                      (X, Y) turned to colour R G B and nothing else changed
"""
import sys

WIDTH, HEIGHT = 1280, 1024
LEFT, TOP, RIGHT, BOTTOM = 8, 8, 8 + 696, 8 + 903  # the canvas on the screen


def load(path):
    data = open(path, "rb").read()
    assert len(data) == WIDTH * HEIGHT * 3, f"{path}: {len(data)} bytes"
    return data


def colour(data, x, y):
    i = (y * WIDTH + x) * 3
    return data[i], data[i + 1], data[i + 2]


def white_area(data, x, y):
    """The 4-connected white pixels around (x, y) on the canvas, and whether they reach its edge."""
    seen, stack, edge = {(x, y)}, [(x, y)], False
    while stack:
        px, py = stack.pop()
        for nx, ny in ((px + 1, py), (px - 1, py), (px, py + 1), (px, py - 1)):
            if not (LEFT <= nx < RIGHT and TOP <= ny < BOTTOM):
                edge = True
                continue
            if (nx, ny) not in seen and colour(data, nx, ny) == (255, 255, 255):
                seen.add((nx, ny))
                stack.append((nx, ny))
    return seen, edge


def pick(before):
    best, done = None, set()
    for y in range(TOP, BOTTOM, 4):
        for x in range(LEFT, RIGHT, 4):
            if (x, y) in done or colour(before, x, y) != (255, 255, 255):
                continue
            area, edge = white_area(before, x, y)
            done |= area
            if not edge and (best is None or len(area) > len(best)):
                best = area
    if not best:
        sys.exit("no closed white area on the canvas")
    # A point well inside: the middle one of the area's pixels in reading order.
    x, y = sorted(best, key=lambda p: (p[1], p[0]))[len(best) // 2]
    print(x, y)


def check(before, after, x, y, want):
    area, _ = white_area(before, x, y)
    wrong = 0
    for py in range(TOP, BOTTOM):
        for px in range(LEFT, RIGHT):
            expected = want if (px, py) in area else colour(before, px, py)
            if colour(after, px, py) != expected:
                if wrong < 5:
                    print(f"pixel ({px}, {py}): expected {expected}, saw {colour(after, px, py)}")
                wrong += 1
    if wrong:
        sys.exit(f"{wrong} pixels differ from a fill of exactly the pressed area ({len(area)} pixels)")
    print(f"the pressed area of {len(area)} pixels, and nothing else, took the colour")


if __name__ == "__main__":
    if sys.argv[1] == "pick":
        pick(load(sys.argv[2]))
    else:
        check(load(sys.argv[2]), load(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5]), tuple(map(int, sys.argv[6:9])))
