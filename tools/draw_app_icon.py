#!/usr/bin/env python3
"""Draws Siteward's application icon (window icon, desktop menu): shell/siteward.png, and the
smaller menu icons the package installs, packaging/icons/siteward-SIZE.png.

    /usr/bin/python3 tools/draw_app_icon.py [output file]

Needs Pillow (Debian: python3-pil). The icon is committed, so only a redraw needs this tool.
A forest-green map square with grid lines, a pine and a location pin: the program turns the
places field staff read off maps into grid coordinates. 256 x 256 pixels (the size desktops
pick for menus and docks), drawn on a canvas four times larger and scaled down for smooth
edges, like the placemark icons; 16 to 128 pixels for menus, panels and file managers, scaled
down from the same canvas.
"""

import pathlib
import sys

from PIL import Image, ImageDraw, ImageFilter

SIZE = 256
SCALE = 4
MENU_SIZES = (16, 32, 48, 64, 128)
S = SIZE * SCALE


def p(*values):
    """Icon coordinates (0-256) on the canvas."""
    return [v * SCALE for v in values]


def draw_icon():
    image = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle(p(8, 8, 248, 248), radius=40 * SCALE, fill=(47, 107, 53, 255),
                           outline=(28, 63, 32, 255), width=6 * SCALE)
    grid = (143, 191, 138, 255)
    for at in (88, 168):
        draw.line(p(14, at, 242, at), fill=grid, width=4 * SCALE)
        draw.line(p(at, 14, at, 242), fill=grid, width=4 * SCALE)
    # The pine: three stacked tiers on a trunk, outlined in white so it reads on the green.
    light = (232, 242, 228, 255)
    draw.rectangle(p(62, 186, 78, 222), fill=(107, 74, 43, 255), outline=light, width=4 * SCALE)
    for top, bottom, half in ((40, 100, 30), (72, 142, 42), (110, 192, 54)):
        draw.polygon(p(70, top, 70 - half, bottom, 70 + half, bottom), fill=(18, 58, 23, 255),
                     outline=light, width=4 * SCALE)
    # The pin: a disc with a point below it, and a white hole.
    cx, cy, r = 168, 114, 50
    pin = Image.new("L", (S, S), 0)
    shape = ImageDraw.Draw(pin)
    shape.ellipse(p(cx - r, cy - r, cx + r, cy + r), fill=255)
    shape.polygon(p(cx - 44, cy + 24, cx + 44, cy + 24, cx, 232), fill=255)
    rim = pin.filter(ImageFilter.MaxFilter(2 * 6 * SCALE + 1))
    image.paste((255, 255, 255, 255), (0, 0), rim)
    image.paste((228, 87, 46, 255), (0, 0), pin)
    draw.ellipse(p(cx - 20, cy - 20, cx + 20, cy + 20), fill=(255, 255, 255, 255))
    return image


def main():
    here = pathlib.Path(__file__).resolve().parent
    target = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else here.parent / "shell" / "siteward.png"
    canvas = draw_icon()
    canvas.resize((SIZE, SIZE), Image.LANCZOS).save(target, optimize=True)
    print(f"icon written to {target}")
    if len(sys.argv) > 1:
        return
    for size in MENU_SIZES:
        menu_icon = here.parent / "packaging" / "icons" / f"siteward-{size}.png"
        menu_icon.parent.mkdir(exist_ok=True)
        canvas.resize((size, size), Image.LANCZOS).save(menu_icon, optimize=True)
        print(f"icon written to {menu_icon}")


if __name__ == "__main__":
    main()
