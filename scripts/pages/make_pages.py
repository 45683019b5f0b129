#!/usr/bin/env python3
"""Makes magazine-like pages of machine-code listings for gravix --scan, with the listing each
page holds. The code is our own: the .asm files beside this script, assembled with pasmo; each
listing line is 10 bytes and their decimal sum. Pages are drawn in a monospaced face (or a 5x7
dot-matrix face drawn from the table below), then made to look scanned or photographed.
Everything comes from fixed seeds, so the same set is the same bytes on every run.

Usage: make_pages.py SET DIR
  SET test   two small clean pages (test-1.png, test-2.png) and test.txt, for make test
  SET bench  every face, look, resolution and layout, two pages to a group
  SET tune   the same as bench from other seeds, to set the recogniser's thresholds on
  SET tune2  the same again from a third set of seeds, to check what was set on tune
DIR gets the pages, one listing per group (NAME.txt) and groups.txt: "NAME page page".
"""

import io
import math
import os
import random
import subprocess
import sys
import tempfile

import numpy
from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FACES = {
    "dejavu": "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "liberation": "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf",
    "freemono": "/usr/share/fonts/truetype/freefont/FreeMono.ttf",
    "dots": None,
}
LOOKS = ("clean", "scanned", "photo")
# A phone's photograph as phones take them now: the page a little askew in depth as well as
# turned, unevenly lit, slightly blurred, but with the phone's own denoising (far less grain
# than "photo") and its usual JPEG quality. Drawn after the other looks, so their pages stay
# the same bytes.
LATER_LOOKS = ("phone",)
HEADINGS = ("LISTADO 1", "CODIGO MAQUINA", "LISTADO 2: DUMP 40000", "CARGADOR HEX")

# 5x7 dot-matrix characters, seven rows of five dots each.
DOTS = {
    "0": "01110 10001 10011 10101 11001 10001 01110", "1": "00100 01100 00100 00100 00100 00100 01110",
    "2": "01110 10001 00001 00010 00100 01000 11111", "3": "11111 00010 00100 00010 00001 10001 01110",
    "4": "00010 00110 01010 10010 11111 00010 00010", "5": "11111 10000 11110 00001 00001 10001 01110",
    "6": "00110 01000 10000 11110 10001 10001 01110", "7": "11111 00001 00010 00100 01000 01000 01000",
    "8": "01110 10001 10001 01110 10001 10001 01110", "9": "01110 10001 10001 01111 00001 00010 01100",
    "A": "01110 10001 10001 11111 10001 10001 10001", "B": "11110 10001 10001 11110 10001 10001 11110",
    "C": "01110 10001 10000 10000 10000 10001 01110", "D": "11100 10010 10001 10001 10001 10010 11100",
    "E": "11111 10000 10000 11110 10000 10000 11111", "F": "11111 10000 10000 11110 10000 10000 10000",
    "G": "01110 10001 10000 10111 10001 10001 01111", "H": "10001 10001 10001 11111 10001 10001 10001",
    "I": "01110 00100 00100 00100 00100 00100 01110", "L": "10000 10000 10000 10000 10000 10000 11111",
    "M": "10001 11011 10101 10101 10001 10001 10001", "N": "10001 10001 11001 10101 10011 10001 10001",
    "O": "01110 10001 10001 10001 10001 10001 01110", "P": "11110 10001 10001 11110 10000 10000 10000",
    "Q": "01110 10001 10001 10001 10101 10010 01101", "R": "11110 10001 10001 11110 10100 10010 10001",
    "S": "01111 10000 10000 01110 00001 00001 11110", "T": "11111 00100 00100 00100 00100 00100 00100",
    "U": "10001 10001 10001 10001 10001 10001 01110", "V": "10001 10001 10001 10001 10001 01010 00100",
    "X": "10001 10001 01010 00100 01010 10001 10001", "Y": "10001 10001 01010 00100 00100 00100 00100",
    ":": "00000 01100 01100 00000 01100 01100 00000", " ": "00000 00000 00000 00000 00000 00000 00000",
}


def assembled_code():
    """The bytes of every .asm here, one after the other, in name order."""
    code = b""
    with tempfile.TemporaryDirectory() as scratch:
        for name in sorted(n for n in os.listdir(HERE) if n.endswith(".asm")):
            binary = os.path.join(scratch, name + ".bin")
            subprocess.run(["pasmo", "--bin", os.path.join(HERE, name), binary], check=True,
                           stdout=subprocess.DEVNULL)
            with open(binary, "rb") as f:
                code += f.read()
    return code


def listing_lines(code, first_number, count, offset):
    """count lines numbered from first_number, from code taken round from offset."""
    lines = []
    for k in range(count):
        data = bytes(code[(offset + 10 * k + i) % len(code)] for i in range(10))
        lines.append((first_number + k, data.hex().upper(), sum(data)))
    return lines


def printed_text(line, grouped):
    number, data, checksum = line
    if grouped:
        data = " ".join(data[i:i + 2] for i in range(0, 20, 2))
    return f"{number:>4}  {data}  {checksum:>4}"


def draw_dots(draw, x, y, text, pitch):
    """The dot-matrix face: each character a 5x7 grid of round dots in a 6x9 cell."""
    radius = pitch * 0.42
    for k, character in enumerate(text):
        rows = DOTS.get(character, DOTS[" "]).split()
        for r, row in enumerate(rows):
            for c, dot in enumerate(row):
                if dot == "1":
                    cx = x + (k * 6 + c + 0.5) * pitch
                    cy = y + (r + 0.5) * pitch
                    draw.ellipse((cx - radius, cy - radius, cx + radius, cy + radius), fill=0)


def render(lines, heading, face, dpi, grouped):
    """A white page with black text, in 8-bit grey."""
    size = 10 * dpi / 72  # 10-point type
    pitch = size * 1.55
    texts = [printed_text(line, grouped) for line in lines]
    columns = max(len(t) for t in texts)
    margin = int(dpi * 0.5)
    if face == "dots":
        dot = size / 9
        advance = 6 * dot
    else:
        font = ImageFont.truetype(FACES[face], int(round(size)))
        advance = font.getlength("0")
    rows = len(texts) + (2 if heading else 0)
    width = int(2 * margin + columns * advance)
    height = int(2 * margin + rows * pitch)
    page = Image.new("L", (width, height), 255)
    draw = ImageDraw.Draw(page)
    row_texts = ([heading, ""] if heading else []) + texts
    for r, text in enumerate(row_texts):
        y = margin + r * pitch
        if face == "dots":
            draw_dots(draw, margin, y, text, dot)
        else:
            draw.text((margin, y), text, font=font, fill=0)
    return page


def age(page, look, dpi, rng, seed):
    """Turns a clean page into a scanned or photographed one: tilt, blur, uneven light, grain,
    lossy compression. Returns the encoded file's bytes and its extension."""
    if look == "clean":
        out = io.BytesIO()
        page.save(out, "PNG")
        return out.getvalue(), "png"
    if look == "phone":
        return phone(page, dpi, rng, seed)
    scale = dpi / 300
    scanned = look == "scanned"
    angle = rng.uniform(-1.5, 1.5) if scanned else rng.uniform(-3, 3)
    page = page.rotate(angle, resample=Image.BICUBIC, expand=True, fillcolor=255)
    if not scanned:  # a camera held not quite square to the page
        w, h = page.size
        shear = rng.uniform(-0.02, 0.02)
        page = page.transform((w, h), Image.AFFINE, (1, shear, -shear * h / 2, 0, 1, 0),
                              resample=Image.BICUBIC, fillcolor=255)
    page = page.filter(ImageFilter.GaussianBlur((0.7 if scanned else 1.3) * scale + 0.3))
    pixels = numpy.asarray(page, dtype=numpy.float32) / 255
    noise = numpy.random.default_rng(seed)
    h, w = pixels.shape
    if scanned:
        paper, ink, grain = 238, 35, 7
        light = numpy.ones((h, w), numpy.float32)
    else:
        paper, ink, grain = 205, 60, 11
        y, x = numpy.mgrid[0:h, 0:w].astype(numpy.float32)
        cx, cy = rng.uniform(0.2, 0.8) * w, rng.uniform(0.2, 0.8) * h
        distance = numpy.hypot((x - cx) / w, (y - cy) / h)
        light = 1.0 - 0.45 * distance - rng.uniform(0, 0.15) * x / w
    grey = ink + (paper - ink) * pixels
    grey = grey * light + noise.normal(0, grain, (h, w))
    page = Image.fromarray(numpy.clip(grey, 0, 255).astype(numpy.uint8))
    out = io.BytesIO()
    page.save(out, "JPEG", quality=80 if scanned else 60)
    return out.getvalue(), "jpg"


def phone(page, dpi, rng, seed):
    """A phone held over the page: perspective, a turn, light falling off from one side, a
    little blur, grain as it is left after the phone's denoising, JPEG at quality 75."""
    scale = dpi / 300
    page = page.rotate(rng.uniform(-3, 3), resample=Image.BICUBIC, expand=True, fillcolor=255)
    w, h = page.size
    # The page's far edge a few per cent smaller than its near one, and one side than the other.
    g, k = rng.uniform(-0.03, 0.03) / w, rng.uniform(-0.05, 0.05) / h
    page = page.transform((w, h), Image.PERSPECTIVE, (1, 0, 0, 0, 1, 0, g, k),
                          resample=Image.BICUBIC, fillcolor=255)
    page = page.filter(ImageFilter.GaussianBlur(1.0 * scale + 0.3))
    pixels = numpy.asarray(page, dtype=numpy.float32) / 255
    noise = numpy.random.default_rng(seed)
    y, x = numpy.mgrid[0:h, 0:w].astype(numpy.float32)
    cx, cy = rng.uniform(0.2, 0.8) * w, rng.uniform(0.2, 0.8) * h
    light = 1.0 - 0.35 * numpy.hypot((x - cx) / w, (y - cy) / h) - rng.uniform(0, 0.1) * x / w
    paper, ink, grain = 215, 45, 4
    grey = (ink + (paper - ink) * pixels) * light + noise.normal(0, grain, (h, w))
    out = io.BytesIO()
    Image.fromarray(numpy.clip(grey, 0, 255).astype(numpy.uint8)).save(out, "JPEG", quality=75)
    return out.getvalue(), "jpg"


def write(directory, name, data):
    with open(os.path.join(directory, name), "wb") as f:
        f.write(data)


def listing_text(lines):
    return "".join(f"{n} {d} {s}\n" for n, d, s in lines)


def make_test(code, directory):
    """Two pages of 12 lines, the first with a heading, the second grouped."""
    first = listing_lines(code, 1, 12, 0)
    second = listing_lines(code, 13, 12, 120)
    write(directory, "test-1.png", age(render(first, "LISTADO 1", "dejavu", 300, False),
                                       "clean", 300, None, 0)[0])
    write(directory, "test-2.png", age(render(second, None, "dejavu", 300, True),
                                       "clean", 300, None, 0)[0])
    write(directory, "test.txt", listing_text(first + second).encode())


def make_groups(code, directory, base_seed):
    """A group for each face, look and resolution: a plain page of 30 lines, then a grouped
    one continuing its numbering; one in three groups has a heading on its first page."""
    groups = []
    index = 0
    kinds = [(face, look) for face in FACES for look in LOOKS]
    kinds += [(face, look) for look in LATER_LOOKS for face in FACES]
    for face, look in kinds:
        for dpi in (300, 150):
            index += 1
            seed = base_seed + index
            rng = random.Random(seed)
            name = f"{face}-{look}-{dpi}"
            first_number = rng.choice((1, 1, 31, 61))
            lines, pages = [], []
            for page_number, grouped in enumerate((False, True)):
                page_lines = listing_lines(code, first_number + 30 * page_number, 30,
                                           rng.randrange(len(code)))
                heading = rng.choice(HEADINGS) if page_number == 0 and index % 3 == 0 \
                    else None
                page = render(page_lines, heading, face, dpi, grouped)
                data, extension = age(page, look, dpi, rng, seed * 10 + page_number)
                page_name = f"{name}-{page_number + 1}.{extension}"
                write(directory, page_name, data)
                pages.append(page_name)
                lines += page_lines
            write(directory, name + ".txt", listing_text(lines).encode())
            groups.append(f"{name} {' '.join(pages)}\n")
    write(directory, "groups.txt", "".join(groups).encode())


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("test", "bench", "tune", "tune2"):
        sys.exit(__doc__)
    which, directory = sys.argv[1], sys.argv[2]
    os.makedirs(directory, exist_ok=True)
    code = assembled_code()
    if which == "test":
        make_test(code, directory)
    else:
        make_groups(code, directory, {"bench": 1000, "tune": 5000, "tune2": 7000}[which])


if __name__ == "__main__":
    main()
