#!/usr/bin/env python3
"""Draws Kestrova's icons and writes them as .ico files next to this script.

The .ico files are committed, so building the program never needs Python;
run this script again after changing a drawing:

    python3 resources/draw_resources.py

Only the standard library is used, so the script runs on any machine that
has Python 3. The output is byte-for-byte the same on every run.

Shapes are signed distance functions in pixel coordinates (y grows down,
the cell spans 0..size). Anti-aliasing is coverage by supersampling, but
only on pixels an edge actually crosses: a pixel whose centre is further
than half its diagonal from every edge is wholly inside or outside, and
flat colours then come out exactly as given. The status-light colours
depend on that, because tests read them back from screenshots.

Each size is drawn on its own rather than scaled from one bitmap: edges and
strokes are placed on pixel boundaries for that size, so small icons stay
sharp and large ones are not blurred enlargements.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Samples per axis on edge pixels: 256 coverage levels, more than 8-bit
# alpha can tell apart.
SUPERSAMPLE = 16
HALF_DIAGONAL = math.sqrt(0.5)

# A pixel counts as opaque in the 1-bit AND mask (and in the palette images)
# from half coverage on, so the masked outline matches what alpha shows.
MASK_THRESHOLD = 128


def rnd(v):
    """Rounds half up; Python's round() rounds halves to even, which would
    make the hinting of neighbouring sizes inconsistent."""
    return math.floor(v + 0.5)


# --------------------------------------------------------------------------
# Shapes: each is a function (x, y) -> signed distance, negative inside.
# Every primitive is an exact distance, and union and intersection
# keep the early-out test above sound: it only ever needs the sign to be
# constant across a pixel.


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rect(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def d(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return d


def _segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else ((x - ax) * dx + (y - ay) * dy) / length2
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def stroke(points, width, closed=False):
    """A round-capped line through the points."""
    pts = list(points)
    if closed:
        pts.append(pts[0])
    segments = list(zip(pts, pts[1:]))
    half = width / 2

    def d(x, y):
        return min(_segment_distance(x, y, a[0], a[1], b[0], b[1])
                   for a, b in segments) - half
    return d


def polygon(points):
    pts = list(points)

    def d(x, y):
        best = min(_segment_distance(x, y, *pts[i - 1], *pts[i])
                   for i in range(len(pts)))
        inside = False
        for i in range(len(pts)):
            (ax, ay), (bx, by) = pts[i - 1], pts[i]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -best if inside else best
    return d


def bar(ax, ay, bx, by, width):
    """A straight stroke with square ends flush with its end points."""
    length = math.hypot(bx - ax, by - ay)
    nx, ny = -(by - ay) / length * width / 2, (bx - ax) / length * width / 2
    return polygon([(ax + nx, ay + ny), (bx + nx, by + ny),
                    (bx - nx, by - ny), (ax - nx, ay - ny)])


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def cubic(p0, p1, p2, p3, steps=48):
    """Points along a cubic Bezier curve, for stroke()."""
    out = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        out.append(tuple(u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c
                         + t * t * t * d for a, b, c, d in zip(p0, p1, p2, p3)))
    return out


def ellipse_points(cx, cy, rx, ry, steps=96):
    return [(cx + rx * math.cos(2 * math.pi * i / steps),
             cy + ry * math.sin(2 * math.pi * i / steps)) for i in range(steps)]


# --------------------------------------------------------------------------
# Canvas: premultiplied colour (0..255) and alpha (0..1) per pixel.


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def coverage(self, shape, px, py):
        centre = shape(px + 0.5, py + 0.5)
        if centre <= -HALF_DIAGONAL:
            return 1.0
        if centre >= HALF_DIAGONAL:
            return 0.0
        n = SUPERSAMPLE
        hits = 0
        for j in range(n):
            y = py + (j + 0.5) / n
            for i in range(n):
                if shape(px + (i + 0.5) / n, y) < 0:
                    hits += 1
        return hits / (n * n)

    def paint(self, shape, colour, opacity=1.0, crisp=False):
        """Paints shape over what is there. colour is an (r, g, b) tuple or a
        function of the pixel centre, for gradients. A crisp shape takes
        whole pixels only, those it covers at least half of."""
        for py in range(self.size):
            row = self.pixels[py]
            for px in range(self.size):
                cov = self.coverage(shape, px, py)
                if crisp:
                    cov = 1.0 if cov >= 0.5 else 0.0
                if cov == 0.0:
                    continue
                a = cov * opacity
                r, g, b = colour(px + 0.5, py + 0.5) if callable(colour) else colour
                dr, dg, db, da = row[px]
                keep = 1.0 - a
                row[px] = (r * a + dr * keep, g * a + dg * keep,
                           b * a + db * keep, a + da * keep)

    def rgba(self):
        """Rows top-down of straight (not premultiplied) 8-bit RGBA."""
        out = []
        for row in self.pixels:
            line = []
            for r, g, b, a in row:
                alpha = rnd(a * 255)
                if alpha == 0:
                    line.append((0, 0, 0, 0))
                    continue
                line.append(tuple(min(255, max(0, rnd(c / a))) for c in (r, g, b))
                            + (alpha,))
            out.append(line)
        return out


def mix(c1, c2, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def vertical_gradient(top_colour, bottom_colour, y0, y1):
    return lambda x, y: mix(top_colour, bottom_colour, (y - y0) / (y1 - y0))


# --------------------------------------------------------------------------
# Drawings.

RIM_BLUE = (32, 162, 242)
STATUS_FILLS = {
    "status_green": (76, 255, 0),
    "status_yellow": (255, 216, 0),
    "status_red": (255, 0, 0),
}
STATUS_SIZES = (16, 20, 24, 32, 48)


def draw_status(size, fill):
    # The disc is 3/4 of the cell, with an even diameter centred on a pixel
    # boundary so that opposite edges anti-alias identically.
    diameter = 2 * rnd(size * 0.375)
    # From 24 px on the rim is whole pixels wide, so that it has a pure-blue
    # core between its two smoothed edges.
    rim = size / 16 if size < 24 else rnd(size / 16)
    c = size / 2
    outer = diameter / 2
    canvas = Canvas(size)
    canvas.paint(circle(c, c, outer), RIM_BLUE)
    # Where the rim is about a pixel wide, smoothing its inner edge would only
    # give a muddy ring of blue-and-fill mixtures; whole pixels keep both
    # colours pure. The outer edge is smoothed through alpha.
    canvas.paint(circle(c, c, outer - rim), fill, crisp=rim < 1.5)
    return canvas.rgba()


CLOSE_SIZES = (16, 20, 24, 32, 48)
CLOSE_TOP = (250, 116, 64)
CLOSE_BOTTOM = (222, 60, 22)
CLOSE_EDGE = (176, 42, 14)
WHITE = (255, 255, 255)


def draw_close(size):
    s = size / 16
    margin = max(1, rnd(s))
    c = size / 2
    r = c - margin
    canvas = Canvas(size)
    canvas.paint(circle(c, c, r), CLOSE_EDGE)
    canvas.paint(circle(c, c, r - max(1.0, rnd(s * 0.75))),
                 vertical_gradient(CLOSE_TOP, CLOSE_BOTTOM, c - r, c + r))
    # The cross's arms end on pixel corners, which keeps the diagonals
    # symmetric and their ends crisp.
    arm = rnd(3 * s)
    # At 16 px a width of sqrt(2) fills the diagonal pixels exactly and
    # half of their neighbours, the sharpest a smoothed diagonal gets.
    width = 2.0 * s if size > 16 else math.sqrt(2)
    canvas.paint(bar(c - arm, c - arm, c + arm, c + arm, width), WHITE)
    canvas.paint(bar(c - arm, c + arm, c + arm, c - arm, width), WHITE)
    return canvas.rgba()


APP_SIZES = (16, 24, 32, 48)
GLOBE_LIGHT = (92, 218, 200)
GLOBE_DARK = (8, 128, 152)
GLOBE_EDGE = (4, 88, 108)
GLOBE_LINES = (214, 248, 240)
MONITOR_FRAME = (22, 52, 128)
SCREEN_TOP = (128, 200, 255)
SCREEN_BOTTOM = (30, 104, 216)
CABLE = (44, 178, 56)
CABLE_EDGE = (16, 100, 28)
CABLE_LIGHT = (72, 200, 40)


def draw_app(size):
    s = size / 16
    def px(v):
        """A length on the 16 px grid, in whole pixels at this size."""
        return rnd(v * s)
    one = max(1, rnd(s))
    canvas = Canvas(size)

    # The globe fills the cell behind everything, lit from the top left.
    # The monitors sit on one diagonal and leave the other two quarters of
    # the globe visible, so it reads as a globe and not as a dome.
    gc = size / 2
    gr = gc - px(1)
    canvas.paint(circle(gc, gc, gr), GLOBE_EDGE)
    inner = circle(gc, gc, gr - one)

    def globe_shade(x, y):
        d = math.hypot(x - (gc - gr * 0.4), y - (gc - gr * 0.4)) / (gr * 1.5)
        return mix(GLOBE_LIGHT, GLOBE_DARK, d)
    canvas.paint(inner, globe_shade)
    # A one-pixel line is centred on pixel centres, a two-pixel line on a
    # pixel boundary: either way it fills whole pixels.
    lw = one
    shift = 0.5 if lw % 2 else 0.0
    lc = gc + shift
    lines = [
        stroke([(gc - gr, lc), (gc + gr, lc)], lw),
        stroke([(lc, gc - gr), (lc, gc + gr)], lw),
        stroke(ellipse_points(lc, lc, gr * 0.5, gr), lw, closed=True),
    ]
    if size > 16:
        # At 16 px a fourth line only turns the globe into a checkerboard.
        lines.append(stroke(ellipse_points(lc, lc, gr, gr * 0.5), lw, closed=True))
    canvas.paint(intersect(union(*lines), inner), GLOBE_LINES, 0.6)

    # Two monitors, top left and bottom right. An even width puts the cable,
    # which leaves from the middle, on whole pixels.
    mw, mh = 2 * rnd(4.25 * s), rnd(6.25 * s)
    monitors = ((0, px(1)), (size - mw, size - px(1) - mh))
    for left, top in monitors:
        bottom = top + mh
        rounding = 0.0 if size <= 16 else 0.6 * s
        canvas.paint(rect(left, top, left + mw, bottom, rounding), MONITOR_FRAME)
        # A thicker bottom bezel, from 24 px on, says "monitor".
        chin = one if size < 24 else px(1.5)
        screen = rect(left + one, top + one, left + mw - one, bottom - chin)
        canvas.paint(screen, vertical_gradient(SCREEN_TOP, SCREEN_BOTTOM,
                                               top + one, bottom - chin))
        glare = intersect(screen, polygon([(left, top), (left + mw * 0.8, top),
                                           (left, bottom)]))
        canvas.paint(glare, WHITE, 0.25)

    # The cable, in front of everything: down from the first monitor and
    # round the corner into the side of the second.
    cw = 2 * one
    (_, t1), (l2, t2) = monitors
    x = rnd(mw / 2)
    y = t2 + rnd(mh / 2)
    r = px(2)
    path = [(x, t1 + mh)] + cubic((x, y - r), (x, y), (x, y), (x + r, y), 12) \
        + [(l2, y)]
    if size <= 16:
        # Two pixels leave no room for an outline: a plain, light cable
        # stands out best against the globe.
        canvas.paint(stroke(path, cw), CABLE_LIGHT, crisp=True)
    else:
        canvas.paint(stroke(path, cw), CABLE_EDGE)
        canvas.paint(stroke(path, cw - (1.0 if size <= 24 else s * 0.8)), CABLE)
    return canvas.rgba()


# --------------------------------------------------------------------------
# Palette images for the 4 and 8 bit entries.


def median_cut(colours, count):
    """Reduces weighted colours ({rgb: pixels}) to at most count colours,
    deterministically."""
    if len(colours) <= count:
        return sorted(colours)
    boxes = [sorted(colours.items())]
    while len(boxes) < count:
        def spread(box):
            ranges = [max(c[0][k] for c in box) - min(c[0][k] for c in box)
                      for k in range(3)]
            return max(ranges) * sum(w for _, w in box), ranges
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: spread(b)[0])
        ranges = spread(box)[1]
        axis = ranges.index(max(ranges))
        box.sort(key=lambda c: (c[0][axis], c[0]))
        total = sum(w for _, w in box)
        acc, cut = 0, 1
        for i, (_, w) in enumerate(box):
            acc += w
            if acc * 2 >= total:
                cut = min(max(i + 1, 1), len(box) - 1)
                break
        boxes.remove(box)
        boxes.extend([box[:cut], box[cut:]])
    palette = []
    for box in boxes:
        total = sum(w for _, w in box)
        palette.append(tuple(rnd(sum(c[k] * w for c, w in box) / total)
                             for k in range(3)))
    return sorted(set(palette))


def to_palette(image, bpp):
    """Returns (palette, rows of indices). Index 0 is black, used for every
    masked pixel, because the XOR image must be black where the AND mask
    lets the background through."""
    colours = {}
    for row in image:
        for r, g, b, a in row:
            if a >= MASK_THRESHOLD:
                colours[(r, g, b)] = colours.get((r, g, b), 0) + 1
    palette = [(0, 0, 0)] + [c for c in median_cut(colours, (1 << bpp) - 1)
                             if c != (0, 0, 0)]
    lookup = {}

    def nearest(c):
        if c not in lookup:
            lookup[c] = min(range(len(palette)),
                            key=lambda i: (sum((p - q) ** 2
                                               for p, q in zip(palette[i], c)), i))
        return lookup[c]
    rows = [[nearest((r, g, b)) if a >= MASK_THRESHOLD else 0
             for r, g, b, a in row] for row in image]
    palette += [(0, 0, 0)] * ((1 << bpp) - len(palette))
    return palette, rows


# --------------------------------------------------------------------------
# ICO writing. Each entry is a DIB: BITMAPINFOHEADER with the height doubled
# for XOR image plus AND mask, optional palette, the XOR rows bottom-up and
# the 1-bit AND mask bottom-up, every row padded to 32 bits.


def _pad(row):
    return row + b"\0" * (-len(row) % 4)


def and_mask(image):
    out = []
    for row in reversed(image):
        bits = bytearray((len(row) + 7) // 8)
        for x, p in enumerate(row):
            if p[3] < MASK_THRESHOLD:
                bits[x // 8] |= 0x80 >> (x % 8)
        out.append(_pad(bytes(bits)))
    return b"".join(out)


def dib(image, bpp):
    size = len(image)
    palette = b""
    xor = []
    if bpp == 32:
        for row in reversed(image):
            xor.append(b"".join(struct.pack("4B", b, g, r, a) for r, g, b, a in row))
    elif bpp == 24:
        for row in reversed(image):
            xor.append(_pad(b"".join(
                struct.pack("3B", b, g, r) if a >= MASK_THRESHOLD else b"\0\0\0"
                for r, g, b, a in row)))
    else:
        colours, rows = to_palette(image, bpp)
        palette = b"".join(struct.pack("4B", b, g, r, 0) for r, g, b in colours)
        per_byte = 8 // bpp
        for row in reversed(rows):
            packed = bytearray()
            for x in range(0, len(row), per_byte):
                v = 0
                for k in range(per_byte):
                    v = (v << bpp) | (row[x + k] if x + k < len(row) else 0)
                packed.append(v)
            xor.append(_pad(bytes(packed)))
    pixels = b"".join(xor) + and_mask(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(pixels), 0, 0, 0, 0)
    return header + palette + pixels


def write_ico(name, entries):
    """entries: list of (image, bpp)."""
    blobs = [(len(image), bpp, dib(image, bpp)) for image, bpp in entries]
    offset = 6 + 16 * len(blobs)
    directory = struct.pack("<HHH", 0, 1, len(blobs))
    for size, bpp, blob in blobs:
        colour_count = 1 << bpp if bpp < 8 else 0
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count,
                                 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    with open(os.path.join(HERE, name + ".ico"), "wb") as f:
        f.write(directory + b"".join(blob for _, _, blob in blobs))


def main():
    for name, fill in STATUS_FILLS.items():
        write_ico(name, [(draw_status(size, fill), 32) for size in STATUS_SIZES])

    close = {size: draw_close(size) for size in CLOSE_SIZES}
    # The 16 and 256 colour versions serve displays and remote sessions
    # running at a reduced colour depth.
    write_ico("close", [(close[16], 4), (close[16], 8)]
              + [(close[size], 32) for size in CLOSE_SIZES])

    app = {size: draw_app(size) for size in APP_SIZES}
    write_ico("kestrova", [(app[size], 32) for size in APP_SIZES]
              + [(app[size], 24) for size in APP_SIZES])


if __name__ == "__main__":
    main()
