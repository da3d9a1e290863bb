#!/usr/bin/python3
"""Draws the mouse page's picture: a top view of the mouse on the page's dark panel, and
the faces of its keys and LEDs that the page's buttons lay over it.

    tools/mouse_picture.py            # writes the images into skin/device/
    tools/mouse_picture.py --layout   # also prints the buttons' places for mousedevice.xml

Every image is as large as the panel that shows it (PANEL below), so a button takes its
face from the sheet at its own place in the panel ("source" = "pos"). Shapes are drawn four
times larger and scaled down, which smooths their edges. Needs python3-pil.
"""

import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

PANEL = (430, 220)
SCALE = 4
CX = 215  # the mouse's centre line

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "skin", "device")

# The skin's colours (as the keyboard's panel and key images have them).
PANEL_BG = (21, 28, 38)
PANEL_EDGE = (42, 54, 70)
BODY_TOP = (50, 60, 75)
BODY_BOTTOM = (31, 38, 50)
BODY_EDGE = (78, 92, 112)
SEAM = (14, 18, 25)
KEY_FACE = (42, 52, 66)  # the key face the LED tint is laid on
KEY_RAISED = (58, 70, 88)
KEY_HOT = (62, 84, 114)
KEY_SELECTED = (10, 111, 194)
LED_DIM = (36, 46, 60)


def spline(points, steps=12):
    """Catmull-Rom through `points` (open), `steps` segments between two of them."""
    out = []
    pts = [points[0]] + points + [points[-1]]
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        for s in range(steps):
            t = s / steps
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * ((2 * p1[k]) + (-p0[k] + p2[k]) * t + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t2
                       + (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t3) for k in range(2)))
    out.append(points[-1])
    return out


# The right half of the outline, front to rear, as offsets from the centre line.
RIGHT_HALF = [(0, 8), (28, 10), (44, 18), (52, 36), (56, 62), (60, 98), (63, 132), (62, 160),
              (57, 184), (45, 203), (25, 213), (0, 216)]


def outline():
    right = spline(RIGHT_HALF)
    left = [(-x, y) for (x, y) in reversed(right)]
    return [(CX + x, y) for (x, y) in right + left]


def mask():
    return Image.new("L", (PANEL[0] * SCALE, PANEL[1] * SCALE), 0)


def big(points):
    return [(x * SCALE, y * SCALE) for (x, y) in points]


def polygon_mask(points):
    m = mask()
    ImageDraw.Draw(m).polygon(big(points), fill=255)
    return m


def rounded_mask(box, radius):
    m = mask()
    x0, y0, x1, y1 = box
    ImageDraw.Draw(m).rounded_rectangle(
        (x0 * SCALE, y0 * SCALE, x1 * SCALE, y1 * SCALE), radius=radius * SCALE, fill=255)
    return m


def ellipse_mask(box):
    m = mask()
    x0, y0, x1, y1 = box
    ImageDraw.Draw(m).ellipse((x0 * SCALE, y0 * SCALE, x1 * SCALE, y1 * SCALE), fill=255)
    return m


def shrink(m, pixels):
    """The mask made smaller by `pixels` (at the panel's scale) all round."""
    size = int(pixels * SCALE) * 2 + 1
    return m.filter(ImageFilter.MinFilter(size)) if size > 1 else m


def below_curve(y_edge, y_middle, left):
    """The part of the front above a gently curved line across one half of the mouse."""
    points = []
    for i in range(21):
        x = (i / 20) * 70
        y = y_middle + (y_edge - y_middle) * (x / 70) ** 2
        points.append((CX - x if left else CX + x, y))
    far = CX - 90 if left else CX + 90
    return polygon_mask([(CX, -10), (far, -10)] + list(reversed(points[1:])) + [(CX, y_middle)])


def half_mask(left, gap):
    if left:
        return polygon_mask([(-10, -10), (CX - gap, -10), (CX - gap, 300), (-10, 300)])
    return polygon_mask([(CX + gap, -10), (500, -10), (500, 300), (CX + gap, 300)])


BODY = polygon_mask(outline())


def key_shapes():
    """Each key and LED of the mouse: (name, mask). Keys in the mouse's key order."""
    inner = shrink(BODY, 2)
    front_left = ImageChops.multiply(ImageChops.multiply(inner, below_curve(88, 96, True)),
                                     half_mask(True, 11))
    front_right = ImageChops.multiply(ImageChops.multiply(inner, below_curve(88, 96, False)),
                                      half_mask(False, 11))
    shapes = [
        ("left", front_left),                                           # key 0
        ("right", front_right),                                         # key 1
        ("middle", rounded_mask((CX - 6, 24, CX + 6, 58), 6)),          # key 2: the wheel
        ("forward", rounded_mask((CX - 70, 104, CX - 57, 130), 5)),     # key 3
        ("back", rounded_mask((CX - 70, 134, CX - 57, 160), 5)),        # key 4
        ("dpi_up", rounded_mask((CX - 6, 64, CX + 6, 75), 3)),          # key 5
        ("dpi_down", rounded_mask((CX - 6, 79, CX + 6, 90), 3)),        # key 6
        ("dpi_loop", ellipse_mask((CX - 7, 101, CX + 7, 115))),         # key 7
        ("game", rounded_mask((CX + 26, 104, CX + 44, 113), 4)),        # key 8
        ("m8", rounded_mask((CX - 69, 72, CX - 57, 94), 5)),            # key 9
    ]
    return shapes


def logo_mask():
    """The lit emblem on the palm (LED 10): the program's triangle, open in the middle."""
    outer = polygon_mask([(CX, 144), (CX + 14, 170), (CX - 14, 170)])
    hole = polygon_mask([(CX, 154), (CX + 7, 166), (CX - 7, 166)])
    return ImageChops.subtract(outer, hole)


def strip_mask():
    """The light strip along the rear edge (LED 11)."""
    band = ImageChops.subtract(shrink(BODY, 3), shrink(BODY, 8))
    rear = polygon_mask([(0, 186), (430, 186), (430, 230), (0, 230)])
    return ImageChops.multiply(band, rear)


def fill(canvas, m, colour):
    layer = Image.new("RGBA", canvas.size, colour + (255,))
    canvas.paste(layer, (0, 0), m)


def gradient(size, top, bottom):
    g = Image.new("RGBA", size)
    d = ImageDraw.Draw(g)
    for y in range(size[1]):
        t = y / max(1, size[1] - 1)
        c = tuple(round(top[k] + (bottom[k] - top[k]) * t) for k in range(3))
        d.line([(0, y), (size[0], y)], fill=c + (255,))
    return g


def edge(m, pixels):
    return ImageChops.subtract(m, shrink(m, pixels))


def panel_background():
    img = Image.new("RGBA", (PANEL[0] * SCALE, PANEL[1] * SCALE), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((0, 0, img.size[0] - 1, img.size[1] - 1), radius=10 * SCALE,
                        fill=PANEL_EDGE + (255,))
    d.rounded_rectangle((SCALE, SCALE, img.size[0] - 1 - SCALE, img.size[1] - 1 - SCALE),
                        radius=9 * SCALE, fill=PANEL_BG + (255,))
    return img


def draw_background(shapes, logo, strip):
    img = panel_background()
    # A soft shadow under the mouse.
    shadow = BODY.filter(ImageFilter.GaussianBlur(6 * SCALE))
    fill(img, shadow.point(lambda v: v * 0.6), (0, 0, 0))
    img.paste(gradient(img.size, BODY_TOP, BODY_BOTTOM), (0, 0), BODY)
    fill(img, edge(BODY, 1.2), BODY_EDGE)
    # The seams around the front buttons and the wheel channel.
    channel = ImageChops.multiply(rounded_mask((CX - 10, 12, CX + 10, 96), 6), shrink(BODY, 2))
    fill(img, channel, SEAM)
    for name, m in shapes:
        fill(img, m.filter(ImageFilter.MaxFilter(2 * SCALE + 1)), SEAM)
        fill(img, m, KEY_RAISED if name in ("left", "right") else KEY_FACE)
        fill(img, edge(m, 0.8), BODY_EDGE)
    # The wheel's ribs.
    d = ImageDraw.Draw(img)
    for y in range(27, 57, 4):
        d.line([((CX - 4) * SCALE, y * SCALE), ((CX + 4) * SCALE, y * SCALE)],
               fill=SEAM + (255,), width=SCALE)
    fill(img, logo, LED_DIM)
    fill(img, strip, LED_DIM)
    return img.resize(PANEL, Image.LANCZOS)


def draw_sheet(masks, colour):
    img = Image.new("RGBA", (PANEL[0] * SCALE, PANEL[1] * SCALE), (0, 0, 0, 0))
    for m in masks:
        fill(img, m, colour)
    return img.resize(PANEL, Image.LANCZOS)


def box_of(m):
    x0, y0, x1, y1 = m.getbbox()
    return (math.floor(x0 / SCALE), math.floor(y0 / SCALE), math.ceil(x1 / SCALE),
            math.ceil(y1 / SCALE))


def main():
    shapes = key_shapes()
    logo = logo_mask()
    strip = strip_mask()
    keys = [m for _, m in shapes]
    draw_background(shapes, logo, strip).save(os.path.join(OUT, "mouse_bk.png"))
    # The faces the buttons lay over the picture: lit (the tint's shape), hot and chosen.
    lit = keys + [logo, strip]
    draw_sheet(lit, KEY_FACE).save(os.path.join(OUT, "mouse_led.png"))
    draw_sheet(lit, KEY_HOT).save(os.path.join(OUT, "mouse_key_hot.png"))
    draw_sheet(lit, KEY_SELECTED).save(os.path.join(OUT, "mouse_key_selected.png"))
    if "--layout" in sys.argv:
        for n, (name, m) in enumerate(shapes):
            print("key_%d / light_0_%d (%s): pos=\"%d,%d,%d,%d\"" % ((n, n, name) + box_of(m)))
        print("logo (light_10): pos=\"%d,%d,%d,%d\"" % box_of(logo))
        print("light_0_11 (strip): pos=\"%d,%d,%d,%d\"" % box_of(strip))


if __name__ == "__main__":
    main()
