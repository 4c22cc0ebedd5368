#!/usr/bin/env python3
"""Reads the keyboard trainer's falling letters from a screenshot (raw RGB, 1280 x 1024).

  letters.py SHOT.rgb FONT_FILE    prints "KEYSYM X Y" for the highest falling
                                   letter that is whole on the screen: the X
                                   keysym to type it and the middle of its ink

Each letter falls in a column of its own; its ink is matched against the 30
letters the game draws from, set by ImageMagick in the face the program shows
them in, at the same size.
"""
import subprocess
import sys

WIDTH, HEIGHT = 1280, 1024
CLIENT_X, CLIENT_Y = 240, 243  # the trainer's client area, centred on the stage
COLUMNS = (328, 392, 456, 520, 608)  # the letters' left edges in the client area
COLUMN_WIDTH, CLIENT_HEIGHT = 64, 564
PIXEL_SIZE = 64  # "Arial" 48 pt at 96 dots per inch

KEYSYMS = {
    "б": "be", "в": "ve", "г": "ghe", "д": "de", "е": "ie", "ж": "zhe", "з": "ze", "и": "i", "й": "shorti",
    "к": "ka", "л": "el", "м": "em", "н": "en", "о": "o", "п": "pe", "р": "er", "с": "es", "т": "te", "у": "u",
    "ф": "ef", "х": "ha", "ц": "tse", "ч": "che", "ш": "sha", "щ": "shcha", "ъ": "hardsign", "ы": "yeru",
    "ь": "softsign", "э": "e", "ю": "yu",
}


def ink_box(dark, width):
    """The box (left, top, right, bottom) around the dark pixels, None without any."""
    xs = [i % width for i in dark]
    ys = [i // width for i in dark]
    return (min(xs), min(ys), max(xs), max(ys)) if dark else None


def mask(dark, width, box):
    left, top, _, _ = box
    return {(i % width - left, i // width - top) for i in dark}


def reference(letter, font):
    """The letter's ink as a set of points from its ink box's corner, and the box's size."""
    pgm = subprocess.run(["convert", "-density", "72", "-background", "white", "-fill", "black", "-font", font,
                          "-pointsize", str(PIXEL_SIZE), "label:" + letter, "-depth", "8", "pgm:-"],
                         check=True, capture_output=True).stdout
    fields = pgm.split(maxsplit=4)
    width, height, pixels = int(fields[1]), int(fields[2]), fields[4]
    dark = [i for i in range(width * height) if pixels[i] < 128]
    return mask(dark, width, ink_box(dark, width))


def likeness(a, b):
    return len(a & b) / len(a | b)


def main():
    shot = open(sys.argv[1], "rb").read()
    assert len(shot) == WIDTH * HEIGHT * 3, f"{sys.argv[1]}: {len(shot)} bytes"
    references = {letter: reference(letter, sys.argv[2]) for letter in KEYSYMS}
    found = []
    for column in COLUMNS:
        left = CLIENT_X + column
        dark = []
        for y in range(CLIENT_HEIGHT):
            row = ((CLIENT_Y + y) * WIDTH + left) * 3
            for x in range(COLUMN_WIDTH):
                r, g, b = shot[row + 3 * x:row + 3 * x + 3]
                if r < 80 and g < 80 and b < 80:
                    dark.append(y * COLUMN_WIDTH + x)
        box = ink_box(dark, COLUMN_WIDTH)
        if box is None or box[1] == 0 or box[3] == CLIENT_HEIGHT - 1:
            continue  # no letter, or one cut by the window's edge
        seen = mask(dark, COLUMN_WIDTH, box)
        letter = max(references, key=lambda candidate: likeness(seen, references[candidate]))
        middle = (left + (box[0] + box[2]) // 2, CLIENT_Y + (box[1] + box[3]) // 2)
        found.append((box[1], letter, middle))
    if not found:
        sys.exit("no letter seen")
    _, letter, (x, y) = min(found)
    print(f"Cyrillic_{KEYSYMS[letter]} {x} {y}")


main()
