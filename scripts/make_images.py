#!/usr/bin/env python3
"""Draws the program's icons and toolbar bitmaps into res/, and the report grid's menu
icons beside the report grid (toolkit/reportgrid/).

Every image is drawn here from simple shapes (rounded boxes, circles, polygons, thick
lines) with 4 x 4 supersampling for smooth edges, so the tree carries no image made
elsewhere. Icons are 32-bit with alpha (16, 24 and 32 pixels, plus 48 for the program
icon); toolbar strips are 24-bit bitmaps of 24 x 24 buttons on the transparent grey
RGB(192, 192, 192). Run it after changing a drawing; the output is deterministic.
"""
import math
import os
import struct
import sys

SS = 4  # samples per pixel along each axis


class Canvas:
    """An RGBA canvas in a 0..1 coordinate space (y downwards), composited per sample."""

    def __init__(self, size):
        self.size = size
        n = size * SS
        self.n = n
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * n for _ in range(n)]

    def _blend(self, x, y, rgba):
        r, g, b, a = rgba
        if a <= 0:
            return
        pr, pg, pb, pa = self.px[y][x]
        oa = a + pa * (1 - a)
        if oa <= 0:
            return
        self.px[y][x] = ((r * a + pr * pa * (1 - a)) / oa, (g * a + pg * pa * (1 - a)) / oa,
                         (b * a + pb * pa * (1 - a)) / oa, oa)

    def fill(self, inside, colour, bbox=(0, 0, 1, 1)):
        """Paints every sample whose centre satisfies inside(x, y); colour may be a
        function of (x, y) for gradients."""
        n = self.n
        x0 = max(0, int(bbox[0] * n) - 1)
        y0 = max(0, int(bbox[1] * n) - 1)
        x1 = min(n, int(bbox[2] * n) + 2)
        y1 = min(n, int(bbox[3] * n) + 2)
        for sy in range(y0, y1):
            fy = (sy + 0.5) / n
            for sx in range(x0, x1):
                fx = (sx + 0.5) / n
                if inside(fx, fy):
                    self._blend(sx, sy, colour(fx, fy) if callable(colour) else colour)

    def pixels(self):
        """Averages the samples: rows of (r, g, b, a) bytes, top row first."""
        rows = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                r = g = b = a = 0.0
                for sy in range(y * SS, y * SS + SS):
                    for sx in range(x * SS, x * SS + SS):
                        pr, pg, pb, pa = self.px[sy][sx]
                        r += pr * pa
                        g += pg * pa
                        b += pb * pa
                        a += pa
                if a > 0:
                    row.append((round(r / a * 255), round(g / a * 255), round(b / a * 255),
                                round(a / (SS * SS) * 255)))
                else:
                    row.append((0, 0, 0, 0))
            rows.append(row)
        return rows


def rgb(hexcode, alpha=1.0):
    v = int(hexcode, 16)
    return ((v >> 16 & 255) / 255.0, (v >> 8 & 255) / 255.0, (v & 255) / 255.0, alpha)


def vgrad(top, bottom, y0, y1):
    t, b = rgb(top), rgb(bottom)

    def colour(x, y):
        k = min(1.0, max(0.0, (y - y0) / max(1e-6, y1 - y0)))
        return tuple(t[i] + (b[i] - t[i]) * k for i in range(4))
    return colour


# ---- shapes --------------------------------------------------------------------------------

def rbox(c, x0, y0, x1, y1, radius, colour, outline=None, width=0.06):
    if outline is not None:
        rbox(c, x0, y0, x1, y1, radius, outline)
        rbox(c, x0 + width, y0 + width, x1 - width, y1 - width, max(0.0, radius - width), colour)
        return
    r = radius

    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r + 1e-12
    c.fill(inside, colour, (x0, y0, x1, y1))


def circle(c, cx, cy, r, colour, outline=None, width=0.06):
    if outline is not None:
        c.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, outline, (cx - r, cy - r, cx + r, cy + r))
        r2 = r - width
        c.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r2 * r2, colour, (cx - r, cy - r, cx + r, cy + r))
    else:
        c.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour, (cx - r, cy - r, cx + r, cy + r))


def ring(c, cx, cy, r0, r1, colour, a0=0.0, a1=360.0):
    """A ring between radii r0 < r1, from angle a0 to a1 (degrees, clockwise from +x
    with y downwards)."""
    def inside(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        if not (r0 * r0 <= d <= r1 * r1):
            return False
        ang = math.degrees(math.atan2(y - cy, x - cx)) % 360.0
        lo, hi = a0 % 360.0, a1 % 360.0
        if a1 - a0 >= 360.0:
            return True
        return lo <= ang <= hi if lo <= hi else (ang >= lo or ang <= hi)
    c.fill(inside, colour, (cx - r1, cy - r1, cx + r1, cy + r1))


def polygon(c, pts, colour):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]

    def inside(x, y):
        hit = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    c.fill(inside, colour, (min(xs), min(ys), max(xs), max(ys)))


def line(c, x0, y0, x1, y1, width, colour):
    h = width / 2.0
    dx, dy = x1 - x0, y1 - y0
    ln = math.hypot(dx, dy) or 1e-6

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (ln * ln)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= h * h
    c.fill(inside, colour, (min(x0, x1) - h, min(y0, y1) - h, max(x0, x1) + h, max(y0, y1) + h))


# ---- badges shared by several images ------------------------------------------------------

def badge_plus(c):
    circle(c, 0.72, 0.72, 0.26, rgb("3BA33B"), outline=rgb("1E6B1E"), width=0.05)
    line(c, 0.60, 0.72, 0.84, 0.72, 0.09, rgb("FFFFFF"))
    line(c, 0.72, 0.60, 0.72, 0.84, 0.09, rgb("FFFFFF"))


def badge_cross(c, cx=0.72, cy=0.72, r=0.26):
    circle(c, cx, cy, r, rgb("D93A2B"), outline=rgb("8E1F15"), width=0.05)
    k = r * 0.45
    line(c, cx - k, cy - k, cx + k, cy + k, 0.09, rgb("FFFFFF"))
    line(c, cx - k, cy + k, cx + k, cy - k, 0.09, rgb("FFFFFF"))


def badge_pencil(c):
    polygon(c, [(0.50, 0.92), (0.56, 0.76), (0.86, 0.46), (0.96, 0.56), (0.66, 0.86)], rgb("E8A33A"))
    polygon(c, [(0.50, 0.92), (0.56, 0.76), (0.66, 0.86)], rgb("F3D9A6"))
    polygon(c, [(0.86, 0.46), (0.96, 0.56), (0.92, 0.60), (0.82, 0.50)], rgb("D9534F"))
    line(c, 0.56, 0.76, 0.86, 0.46, 0.03, rgb("9A6420"))


def folder(c):
    polygon(c, [(0.06, 0.24), (0.36, 0.24), (0.44, 0.32), (0.90, 0.32), (0.90, 0.80), (0.06, 0.80)], rgb("C98E1E"))
    rbox(c, 0.06, 0.36, 0.90, 0.82, 0.04, vgrad("FFE08A", "F2B93B", 0.36, 0.82))


def package(c):
    # A cardboard box seen from the front, its lid open.
    polygon(c, [(0.10, 0.34), (0.50, 0.20), (0.90, 0.34), (0.50, 0.48)], rgb("E9C27D"))
    polygon(c, [(0.10, 0.34), (0.50, 0.48), (0.50, 0.92), (0.10, 0.78)], vgrad("D9A44E", "B47B2A", 0.34, 0.92))
    polygon(c, [(0.50, 0.48), (0.90, 0.34), (0.90, 0.78), (0.50, 0.92)], vgrad("C68E3C", "9A6420", 0.34, 0.92))
    line(c, 0.30, 0.27, 0.70, 0.41, 0.07, rgb("F6E2B6"))


# ---- the images ---------------------------------------------------------------------------

def draw_program(c):
    package(c)
    badge_cross(c, 0.74, 0.30, 0.22)


def draw_search(c):
    ring(c, 0.40, 0.40, 0.20, 0.29, rgb("3C5A82"))
    circle(c, 0.40, 0.40, 0.20, rgb("DCEBFA", 0.85))
    line(c, 0.60, 0.60, 0.86, 0.86, 0.14, rgb("4A3A2A"))


def draw_group_new(c):
    folder(c)
    badge_plus(c)


def draw_group_delete(c):
    folder(c)
    badge_cross(c)


def draw_group_edit(c):
    folder(c)
    badge_pencil(c)


def draw_uninstall(c):
    package(c)
    circle(c, 0.72, 0.72, 0.26, rgb("D93A2B"), outline=rgb("8E1F15"), width=0.05)
    line(c, 0.60, 0.72, 0.84, 0.72, 0.09, rgb("FFFFFF"))


def draw_remove(c):
    # A list sheet with its lines, crossed out.
    rbox(c, 0.12, 0.06, 0.70, 0.90, 0.05, rgb("FFFFFF"), outline=rgb("6B7B8C"), width=0.05)
    for y in (0.24, 0.38, 0.52, 0.66):
        line(c, 0.22, y, 0.60, y, 0.05, rgb("8FA6BF"))
    badge_cross(c)


def draw_refresh(c):
    ring(c, 0.50, 0.50, 0.22, 0.34, rgb("2E8B3A"), 200, 340)
    ring(c, 0.50, 0.50, 0.22, 0.34, rgb("2E8B3A"), 20, 160)
    polygon(c, [(0.74, 0.34), (0.96, 0.34), (0.84, 0.56)], rgb("2E8B3A"))
    polygon(c, [(0.26, 0.66), (0.04, 0.66), (0.16, 0.44)], rgb("2E8B3A"))


def draw_options(c):
    teeth = 8
    for i in range(teeth):
        a = math.radians(i * 360.0 / teeth)
        x, y = 0.5 + 0.36 * math.cos(a), 0.5 + 0.36 * math.sin(a)
        line(c, 0.5, 0.5, x, y, 0.16, rgb("5E6B7A"))
    circle(c, 0.5, 0.5, 0.30, rgb("8896A6"), outline=rgb("5E6B7A"), width=0.05)
    circle(c, 0.5, 0.5, 0.11, rgb("F4F6F8"), outline=rgb("5E6B7A"), width=0.04)


def draw_help(c):
    circle(c, 0.5, 0.5, 0.44, vgrad("5AA0E6", "2162B0", 0.06, 0.94), outline=rgb("174A87"), width=0.05)
    ring(c, 0.5, 0.38, 0.09, 0.19, rgb("FFFFFF"), 180, 90)
    line(c, 0.5, 0.56, 0.5, 0.64, 0.10, rgb("FFFFFF"))
    circle(c, 0.5, 0.78, 0.065, rgb("FFFFFF"))


def draw_relay(c):
    # The sibling product: two opposed arrows over a lightning stroke.
    circle(c, 0.5, 0.5, 0.44, vgrad("FFB347", "E06D1A", 0.06, 0.94), outline=rgb("A94E0E"), width=0.05)
    polygon(c, [(0.56, 0.14), (0.30, 0.54), (0.48, 0.54), (0.42, 0.86), (0.72, 0.44), (0.54, 0.44)], rgb("FFFFFF"))



# The report grid's header menu: 16 x 16 glyphs on the key colour RGB(255, 0, 255).
def draw_sort_ascending(c):
    line(c, 0.30, 0.85, 0.30, 0.25, 0.14, rgb("1f4e9a"))
    polygon(c, [(0.08, 0.38), (0.30, 0.08), (0.52, 0.38)], rgb("1f4e9a"))
    for i, w in enumerate((0.16, 0.26, 0.36)):
        rbox(c, 0.60, 0.20 + i * 0.25, 0.60 + w, 0.32 + i * 0.25, 0.02, rgb("505a64"))


def draw_sort_descending(c):
    line(c, 0.30, 0.15, 0.30, 0.75, 0.14, rgb("1f4e9a"))
    polygon(c, [(0.08, 0.62), (0.30, 0.92), (0.52, 0.62)], rgb("1f4e9a"))
    for i, w in enumerate((0.36, 0.26, 0.16)):
        rbox(c, 0.60, 0.20 + i * 0.25, 0.60 + w, 0.32 + i * 0.25, 0.02, rgb("505a64"))


def draw_group_by(c):
    rbox(c, 0.06, 0.08, 0.62, 0.30, 0.04, rgb("e8a317"), outline=rgb("8a5a00"), width=0.07)
    line(c, 0.18, 0.30, 0.18, 0.80, 0.08, rgb("505a64"))
    for y in (0.46, 0.76):
        line(c, 0.18, y, 0.34, y, 0.08, rgb("505a64"))
        rbox(c, 0.36, y - 0.10, 0.94, y + 0.10, 0.03, rgb("ffffff"), outline=rgb("1f4e9a"), width=0.07)


def draw_group_area(c):
    rbox(c, 0.04, 0.10, 0.96, 0.90, 0.06, rgb("f4f4f0"), outline=rgb("505a64"), width=0.07)
    rbox(c, 0.04, 0.10, 0.96, 0.40, 0.06, rgb("c8d8f0"), outline=rgb("505a64"), width=0.07)
    rbox(c, 0.16, 0.18, 0.56, 0.32, 0.02, rgb("e8a317"))
    for y in (0.54, 0.72):
        line(c, 0.16, y, 0.84, y, 0.08, rgb("8c96a0"))


def draw_field_chooser(c):
    rbox(c, 0.10, 0.04, 0.90, 0.96, 0.05, rgb("ffffff"), outline=rgb("505a64"), width=0.07)
    rbox(c, 0.10, 0.04, 0.90, 0.22, 0.05, rgb("1f4e9a"))
    for i in range(3):
        rbox(c, 0.20, 0.32 + i * 0.20, 0.80, 0.44 + i * 0.20, 0.02, rgb("d0d4d8"), outline=rgb("6e7882"),
             width=0.06)


IMAGES = {
    # icon id: (file name, drawing)
    128: ("purgelet.ico", draw_program),
    134: ("search.ico", draw_search),
    140: ("group_new.ico", draw_group_new),
    141: ("group_delete.ico", draw_group_delete),
    143: ("group_edit.ico", draw_group_edit),
    145: ("uninstall.ico", draw_uninstall),
    146: ("refresh.ico", draw_refresh),
    147: ("options.ico", draw_options),
    148: ("help.ico", draw_help),
    156: ("relay.ico", draw_relay),
    157: ("remove.ico", draw_remove),
}

TOOLBARS = {
    # bitmap id: (file name, the drawings of its buttons in order)
    135: ("groups_toolbar.bmp", [draw_group_new, draw_group_delete, draw_group_edit]),
    144: ("main_toolbar.bmp", [draw_uninstall, draw_remove, draw_refresh, draw_options, draw_help, draw_relay]),
}

# Strips of 16 x 16 glyphs on RGB(255, 0, 255); their edges blend towards a light grey so
# that no pink fringe shows where the key colour is taken out.
KEYED_STRIPS = {
    30450: ("toolkit/reportgrid/report_grid_menu.bmp",
            [draw_sort_ascending, draw_sort_descending, draw_group_by, draw_group_area, draw_field_chooser]),
}


# ---- file formats -------------------------------------------------------------------------

def icon_image(rows):
    """One icon image: BITMAPINFOHEADER (double height), BGRA rows bottom-up, AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def write_ico(path, draw, sizes):
    images = []
    for size in sizes:
        c = Canvas(size)
        draw(c)
        images.append((size, icon_image(c.pixels())))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def write_toolbar_bmp(path, draws, size=24, back=(192, 192, 192), edge=None):
    width = size * len(draws)
    strip = [[back] * width for _ in range(size)]
    for i, draw in enumerate(draws):
        c = Canvas(size)
        draw(c)
        for y, row in enumerate(c.pixels()):
            for x, (r, g, b, a) in enumerate(row):
                if a == 0:
                    continue
                k = a / 255.0
                if edge is not None and k < 0.25:
                    continue
                px = tuple(round(v * k + bv * (1 - k)) for v, bv in zip((r, g, b), edge or back))
                # A blended edge pixel that lands on the key colour would turn transparent.
                if px == back:
                    px = (back[0] - 1, back[1], back[2])
                strip[y][i * size + x] = px
    stride = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for row in reversed(strip):
        line_bytes = bytearray()
        for (r, g, b) in row:
            line_bytes += bytes((b, g, r))
        line_bytes += bytes(stride - len(line_bytes))
        data += line_bytes
    header = struct.pack("<IiiHHIIiiII", 40, width, size, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    filehdr = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    with open(path, "wb") as f:
        f.write(filehdr + header + bytes(data))


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    res = os.path.join(root, "res")
    for icon_id, (name, draw) in sorted(IMAGES.items()):
        sizes = [16, 24, 32, 48] if icon_id == 128 else [16, 24, 32]
        write_ico(os.path.join(res, name), draw, sizes)
    for bmp_id, (name, draws) in sorted(TOOLBARS.items()):
        write_toolbar_bmp(os.path.join(res, name), draws)
    for bmp_id, (name, draws) in sorted(KEYED_STRIPS.items()):
        write_toolbar_bmp(os.path.join(root, name), draws, size=16, back=(255, 0, 255), edge=(216, 216, 216))
    return 0


if __name__ == "__main__":
    sys.exit(main())
