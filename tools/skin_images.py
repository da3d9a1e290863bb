#!/usr/bin/python3
"""Draws the skin's pictures of the mouse pad and the headset, and the equaliser's
upright slider rail, in the skin's dark style; and puts each LED button of the two device
pages where the picture shows that LED.

    /usr/bin/python3 tools/skin_images.py        (needs python3-pil)

Run from the repository's top folder. It rewrites skin/device/mousepad_bk.png,
skin/device/headset_bk.png, skin/Control/SliderBar_V_BK.png and the "pos" of the
light_<n> buttons in skin/XML/DeviceXml/mousepaddevice.xml and tamseldevice.xml.
"""

import math
import re
import sys

from PIL import Image, ImageDraw

# Both pictures fill the page's LED panel (680 x 192), as the keyboard's does.
PANEL = (680, 192)
# Drawn at this many times the size, then scaled down: smooth edges.
SS = 4

BACKDROP = (21, 28, 38, 255)
BACKDROP_EDGE = (30, 39, 52, 255)
SHELL = (40, 50, 64, 255)
SHELL_LIGHT = (72, 86, 106, 255)
SHELL_DARK = (30, 38, 49, 255)
FACE = (27, 34, 45, 255)
SOCKET = (11, 15, 21, 255)
SOCKET_EDGE = (58, 70, 88, 255)
CUSHION = (22, 28, 37, 255)
MARK = (52, 64, 80, 255)


def scaled(values):
    return [v * SS for v in values]


class Canvas:
    def __init__(self):
        self.image = Image.new("RGBA", (PANEL[0] * SS, PANEL[1] * SS), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.image)

    def rounded(self, box, radius, fill, outline=None, width=1):
        self.draw.rounded_rectangle(scaled(box), radius * SS, fill=fill, outline=outline,
                                    width=width * SS)

    def ellipse(self, box, fill, outline=None, width=1):
        self.draw.ellipse(scaled(box), fill=fill, outline=outline, width=width * SS)

    def circle(self, centre, radius, fill, outline=None, width=1):
        x, y = centre
        self.ellipse((x - radius, y - radius, x + radius, y + radius), fill, outline, width)

    def arc(self, box, start, end, fill, width):
        self.draw.arc(scaled(box), start, end, fill=fill, width=width * SS)

    def line(self, points, fill, width):
        self.draw.line(scaled([c for p in points for c in p]), fill=fill, width=width * SS,
                       joint="curve")
        for x, y in (points[0], points[-1]):
            self.circle((x, y), width / 2, fill)

    def backdrop(self):
        self.rounded((0, 0, PANEL[0] - 1, PANEL[1] - 1), 8, BACKDROP, BACKDROP_EDGE)

    def socket(self, centre, size):
        """The dark well an LED button sits in, a little larger than the button."""
        x, y = centre
        half = size / 2 + 5
        self.rounded((x - half, y - half, x + half, y + half), 6, SOCKET, SOCKET_EDGE)

    def save(self, path):
        self.image.resize(PANEL, Image.LANCZOS).save(path)


def rounded_rect_point(box, radius, distance):
    """The point `distance` along the outline of a rounded rectangle, starting at the
    middle of its top edge and running anticlockwise on the screen (leftwards first)."""
    x0, y0, x1, y1 = box
    straight_x = (x1 - x0) - 2 * radius
    straight_y = (y1 - y0) - 2 * radius
    corner = math.pi * radius / 2
    cx = (x0 + x1) / 2
    # Pieces in order: half top edge, top-left corner, left edge, bottom-left corner,
    # bottom edge, bottom-right corner, right edge, top-right corner, half top edge.
    pieces = [
        ("line", straight_x / 2, (cx, y0), (-1, 0)),
        ("corner", corner, (x0 + radius, y0 + radius), 90),
        ("line", straight_y, (x0, y0 + radius), (0, 1)),
        ("corner", corner, (x0 + radius, y1 - radius), 180),
        ("line", straight_x, (x0 + radius, y1), (1, 0)),
        ("corner", corner, (x1 - radius, y1 - radius), 270),
        ("line", straight_y, (x1, y1 - radius), (0, -1)),
        ("corner", corner, (x1 - radius, y0 + radius), 0),
        ("line", straight_x / 2, (x1 - radius, y0), (-1, 0)),
    ]
    for kind, length, origin, how in pieces:
        if distance <= length:
            if kind == "line":
                return (origin[0] + how[0] * distance, origin[1] + how[1] * distance)
            angle = math.radians(how + 90 * distance / length)
            return (origin[0] + radius * math.cos(angle), origin[1] - radius * math.sin(angle))
        distance -= length
    return (cx, y0)


def outline_length(box, radius):
    x0, y0, x1, y1 = box
    return 2 * ((x1 - x0) + (y1 - y0) - 4 * radius) + 2 * math.pi * radius


def mouse_pad():
    """A pad seen from above, its lit rim all round, the cable hub at the top. LED 0 sits
    by the hub; 1 to 7 run down the left and 14 to 8 down the right, meeting at the front
    edge, so the trail's pairs (1, 14) ... (7, 8) face each other."""
    canvas = Canvas()
    canvas.backdrop()
    pad = (112, 24, 568, 178)
    radius = 16
    # Cable and hub.
    canvas.line([(340, 0), (340, 18)], SHELL_DARK, 6)
    canvas.rounded((318, 14, 362, 28), 5, SHELL, SHELL_LIGHT)
    # Rim, the lit band, then the cloth.
    canvas.rounded(pad, radius, SHELL_DARK, SHELL_LIGHT, 2)
    rim = (pad[0] + 8, pad[1] + 8, pad[2] - 8, pad[3] - 8)
    canvas.rounded(rim, radius - 6, SOCKET, SOCKET_EDGE)
    cloth = (rim[0] + 9, rim[1] + 9, rim[2] - 9, rim[3] - 9)
    canvas.rounded(cloth, radius - 10, FACE, SHELL)
    # A quiet mark in the cloth's corner.
    canvas.line([(cloth[2] - 46, cloth[3] - 22), (cloth[2] - 36, cloth[3] - 12),
                 (cloth[2] - 26, cloth[3] - 22)], MARK, 3)

    track = (pad[0] + 12, pad[1] + 12, pad[2] - 12, pad[3] - 12)
    length = outline_length(track, radius - 10)
    centres = [rounded_rect_point(track, radius - 10, length * i / 15) for i in range(15)]
    size = (14, 14)
    for centre in centres:
        canvas.socket(centre, max(size))
    canvas.save("skin/device/mousepad_bk.png")
    return centres, size


def headset():
    """A headset turned a little towards the viewer: the near ear cup shows its face with
    the ring of thirteen LEDs (LED 0 at the top, then clockwise), the band arches over to
    the far cup, and the microphone boom leaves the near cup at the front."""
    canvas = Canvas()
    canvas.backdrop()
    near = (290, 106)
    far = (500, 108)
    # Band: the upper half of an ellipse from cup to cup, its lower ends behind the cups.
    band = (near[0], 12, far[0], 204)
    canvas.arc(band, 180, 360, SHELL_LIGHT, 20)
    canvas.arc((band[0] + 2, band[1] + 2, band[2] - 2, band[3] - 2), 180, 360, SHELL_DARK, 16)
    # The pad under the band's top.
    canvas.arc((band[0] + 16, band[1] + 16, band[2] - 16, band[3]), 222, 318, CUSHION, 8)
    # Far cup, seen from its side: its cushion faces the near one.
    canvas.ellipse((far[0] - 34, far[1] - 70, far[0] + 34, far[1] + 70), SHELL, SHELL_LIGHT, 2)
    canvas.ellipse((far[0] - 30, far[1] - 60, far[0] + 2, far[1] + 60), CUSHION)
    # Near cup: shell, ring of lights, face plate with a quiet mark.
    canvas.circle(near, 80, SHELL, SHELL_LIGHT, 2)
    canvas.circle(near, 70, SOCKET, SOCKET_EDGE)
    canvas.circle(near, 46, FACE, SHELL_LIGHT, 2)
    canvas.line([(near[0] - 14, near[1] - 6), (near[0], near[1] + 8), (near[0] + 14, near[1] - 6)],
                MARK, 4)
    # Microphone boom.
    start = (near[0] - 80 * math.cos(math.radians(40)), near[1] + 80 * math.sin(math.radians(40)))
    canvas.line([start, (178, 174)], SHELL_LIGHT, 10)
    canvas.line([start, (178, 174)], SHELL_DARK, 6)
    canvas.circle((174, 176), 10, SHELL, SHELL_LIGHT, 2)

    centres = []
    for i in range(13):
        angle = math.radians(-90 + 360 * i / 13)
        centres.append((near[0] + 58 * math.cos(angle), near[1] + 58 * math.sin(angle)))
    canvas.save("skin/device/headset_bk.png")
    return centres, (16, 16)


def upright_rail():
    """The equaliser band's rail: 6 pixels wide, rounded at both ends, stretched upwards."""
    image = Image.new("RGBA", (6 * SS, 20 * SS), (0, 0, 0, 0))
    ImageDraw.Draw(image).rounded_rectangle((0, 0, 6 * SS - 1, 20 * SS - 1), 3 * SS,
                                            fill=(58, 70, 88, 255))
    image.resize((6, 20), Image.LANCZOS).save("skin/Control/SliderBar_V_BK.png")


def place_buttons(xml_path, centres, size):
    with open(xml_path, encoding="utf-8") as f:
        text = f.read()
    for i, (x, y) in enumerate(centres):
        left = int(round(x - size[0] / 2))
        top = int(round(y - size[1] / 2))
        pos = f'pos="{left},{top},{left + size[0]},{top + size[1]}"'
        pattern = re.compile(r'(<DeviceKeyButton name="light_%d"[^>]*?)pos="[^"]*"' % i)
        text, count = pattern.subn(lambda m: m.group(1) + pos, text)
        if count != 1:
            sys.exit(f"{xml_path}: no single light_{i}")
    with open(xml_path, "w", encoding="utf-8") as f:
        f.write(text)


def main():
    upright_rail()
    pad_leds, pad_size = mouse_pad()
    place_buttons("skin/XML/DeviceXml/mousepaddevice.xml", pad_leds, pad_size)
    headset_leds, headset_size = headset()
    place_buttons("skin/XML/DeviceXml/tamseldevice.xml", headset_leds, headset_size)


if __name__ == "__main__":
    main()
