#!/usr/bin/env python3
"""Draws the placemark icons that the KML documents point at (data/icons).

    python3 tools/draw_icons.py [output folder]      (default: data/icons of this checkout)

Needs Pillow and the DejaVu fonts (Debian: python3-pil fonts-dejavu-core). The icons are
committed, so only redrawing needs this tool; the build does not.

Every icon is 64 x 64 pixels: Google Earth shows placemark icons at 32 pixels, so 64 stays
sharp on high-density screens and when the user scales the icon up. Each is drawn on a canvas
four times larger and scaled down, which smooths the edges. The facility, incident and forest
health icons and the wildfire icon are PNG with an alpha channel; the storm icons are GIF
because the documents name them so: GIF has one transparent colour and no partial
transparency, so every storm symbol has a dark outline that hides the hard edge.
"""

import math
import pathlib
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SIZE = 64
SCALE = 4
S = SIZE * SCALE  # the drawing canvas
FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

BLACK = (20, 20, 20, 255)
WHITE = (255, 255, 255, 255)
OUTLINE = 10  # outline width on the canvas (2.5 pixels in the icon)


def font(size):
    return ImageFont.truetype(FONT_FILE, size)


def canvas():
    image = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    return image, ImageDraw.Draw(image)


def finish(image):
    return image.resize((SIZE, SIZE), Image.LANCZOS)


def box(margin):
    return (margin, margin, S - 1 - margin, S - 1 - margin)


def disc(draw, fill, ring=BLACK, margin=8, width=OUTLINE):
    draw.ellipse(box(margin), fill=fill, outline=ring, width=width)


def rounded_square(draw, fill, ring=BLACK, margin=12, width=OUTLINE, radius=36):
    draw.rounded_rectangle(box(margin), radius=radius, fill=fill, outline=ring, width=width)


def label(draw, text, size, fill=BLACK, centre=(S / 2, S / 2)):
    draw.text(centre, text, font=font(size), fill=fill, anchor="mm")


def letter_disc(fill, letter, text_fill=BLACK):
    image, draw = canvas()
    disc(draw, fill)
    disc(draw, None, ring=WHITE, margin=26, width=6)
    label(draw, letter, 150, text_fill, (S / 2, S / 2 + 4))
    return image


def flame_polygon(cx, base, width, height):
    """A flame of the given width and height standing on y = base, centred on cx."""
    points = []
    steps = 40
    for i in range(steps + 1):  # right side, bottom to tip
        t = i / steps
        bulge = math.sin(math.pi * (0.15 + 0.85 * t)) * (1 - t) ** 0.6
        wobble = 0.12 * math.sin(t * math.pi * 3) * (1 - t)
        points.append((cx + width / 2 * (bulge + wobble), base - height * t))
    for i in range(steps, -1, -1):  # left side, tip to bottom
        t = i / steps
        bulge = math.sin(math.pi * (0.15 + 0.85 * t)) * (1 - t) ** 0.6
        wobble = 0.18 * math.sin(t * math.pi * 2.5 + 1) * (1 - t)
        points.append((cx - width / 2 * (bulge + wobble), base - height * t * 0.88))
    return points


def flame(draw, cx, base, width, height):
    outline = flame_polygon(cx, base, width, height)
    draw.polygon(outline, fill=(200, 30, 20, 255))
    draw.line(outline + [outline[0]], fill=(90, 10, 5, 255), width=6, joint="curve")
    draw.polygon(flame_polygon(cx, base, width * 0.68, height * 0.72), fill=(250, 130, 20, 255))
    draw.polygon(flame_polygon(cx, base, width * 0.38, height * 0.42), fill=(255, 225, 70, 255))


# --- facility, incident and forest-health icons ---------------------------------------------


def aerial_hazard():
    image, draw = canvas()
    triangle = [(S / 2, 14), (S - 12, S - 22), (12, S - 22)]
    draw.polygon(triangle, fill=WHITE)
    draw.line(triangle + [triangle[0]], fill=(210, 20, 20, 255), width=26, joint="curve")
    mast_top, mast_foot = 92, S - 58
    draw.line([(S / 2, mast_top), (S / 2, mast_foot)], fill=BLACK, width=12)
    draw.line([(S / 2, mast_top + 20), (S / 2 - 42, mast_foot)], fill=BLACK, width=6)
    draw.line([(S / 2, mast_top + 20), (S / 2 + 42, mast_foot)], fill=BLACK, width=6)
    draw.ellipse((S / 2 - 13, mast_top - 22, S / 2 + 13, mast_top + 4), fill=(230, 20, 20, 255))
    return image


def camp():
    return letter_disc((255, 214, 40, 255), "C")


def drop_point():
    image, draw = canvas()
    rounded_square(draw, WHITE, radius=20)
    draw.polygon([(S / 2 - 56, 60), (S / 2 + 56, 60), (S / 2, 104)], fill=(30, 90, 200, 255))
    label(draw, "DP", 104, BLACK, (S / 2, S / 2 + 34))
    return image


def fire_origin():
    image, draw = canvas()
    disc(draw, WHITE)
    red = (210, 20, 20, 255)
    draw.ellipse(box(52), outline=red, width=16)
    draw.ellipse(box(108), fill=red)
    for a, b in (((S / 2, 10), (S / 2, 70)), ((S / 2, S - 70), (S / 2, S - 10)),
                 ((10, S / 2), (70, S / 2)), ((S - 70, S / 2), (S - 10, S / 2))):
        draw.line([a, b], fill=BLACK, width=10)
    return image


def first_aid():
    image, draw = canvas()
    rounded_square(draw, WHITE)
    red = (220, 20, 30, 255)
    arm, half = 40, 88
    draw.rectangle((S / 2 - arm / 2 - 10, S / 2 - half, S / 2 + arm / 2 + 10, S / 2 + half), fill=red)
    draw.rectangle((S / 2 - half, S / 2 - arm / 2 - 10, S / 2 + half, S / 2 + arm / 2 + 10), fill=red)
    return image


def helibase():
    return letter_disc((40, 110, 220, 255), "H", WHITE)


def hot_spot():
    image, draw = canvas()
    for i, colour in enumerate(((255, 230, 80), (255, 170, 40), (240, 90, 20), (200, 20, 10))):
        margin = 10 + i * 26
        draw.ellipse(box(margin), fill=colour + (255,))
    rays = 12
    for k in range(rays):
        angle = 2 * math.pi * k / rays
        inner, outer = 88, 122
        draw.line([(S / 2 + inner * math.cos(angle), S / 2 + inner * math.sin(angle)),
                   (S / 2 + outer * math.cos(angle), S / 2 + outer * math.sin(angle))],
                  fill=(200, 20, 10, 255), width=8)
    draw.ellipse(box(10), outline=(120, 10, 5, 255), width=8)
    return image


def incident_base():
    return letter_disc((250, 140, 30, 255), "B")


def command_post():
    image, draw = canvas()
    pole_x = 44
    draw.line([(pole_x, 20), (pole_x, S - 16)], fill=BLACK, width=16)
    draw.ellipse((pole_x - 16, 8, pole_x + 16, 40), fill=BLACK)
    flag = (pole_x + 8, 34, S - 16, 170)
    draw.rectangle(flag, fill=WHITE)
    draw.polygon([(flag[0], flag[1]), (flag[2], flag[1]), (flag[0], flag[3])],
                 fill=(20, 140, 60, 255))
    draw.rectangle(flag, outline=BLACK, width=OUTLINE)
    return image


def weather_unit():
    image, draw = canvas()
    rounded_square(draw, (90, 170, 235, 255))
    draw.ellipse((120, 44, 206, 130), fill=(255, 215, 40, 255), outline=(200, 140, 0, 255), width=5)
    cloud = [(52, 118, 132, 190), (96, 86, 176, 170), (140, 116, 212, 190)]
    for part in cloud:
        draw.ellipse(part, fill=WHITE)
    draw.rectangle((82, 150, 180, 190), fill=WHITE)
    label(draw, "WX", 56, (10, 40, 110, 255), (S / 2, 218))
    return image


def spot_fire():
    image, draw = canvas()
    disc(draw, (255, 240, 200, 255), ring=(210, 20, 20, 255), width=14)
    for k in range(16):  # a dashed inner ring: fire outside the main perimeter
        start = k * 22.5
        draw.arc(box(30), start, start + 12, fill=(210, 20, 20, 255), width=8)
    flame(draw, S / 2, S - 62, 104, 138)
    return image


def staging_area():
    return letter_disc((40, 160, 70, 255), "S", WHITE)


def water_source():
    image, draw = canvas()
    disc(draw, (20, 100, 210, 255))
    cx, top, r = S / 2, 48, 52
    bottom_cy = 150
    draw.ellipse((cx - r, bottom_cy - r, cx + r, bottom_cy + r), fill=WHITE)
    draw.polygon([(cx, top), (cx + r * 0.94, bottom_cy - r * 0.34), (cx - r * 0.94, bottom_cy - r * 0.34)],
                 fill=WHITE)
    draw.arc((cx - r + 18, bottom_cy - r + 18, cx + r - 18, bottom_cy + r - 18), 100, 160,
             fill=(20, 100, 210, 255), width=8)
    return image


def tanker_base():
    image, draw = canvas()
    rounded_square(draw, (200, 30, 30, 255))
    cx = S / 2
    draw.polygon([(cx - 14, 40), (cx + 14, 40), (cx + 16, 190), (cx - 16, 190)], fill=WHITE)  # body
    draw.ellipse((cx - 14, 26, cx + 14, 62), fill=WHITE)
    draw.polygon([(cx - 100, 128), (cx, 92), (cx + 100, 128), (cx + 100, 144), (cx, 124),
                  (cx - 100, 144)], fill=WHITE)  # wings
    draw.polygon([(cx - 44, 208), (cx, 184), (cx + 44, 208), (cx + 44, 220), (cx - 44, 220)],
                 fill=WHITE)  # tail
    return image


def forestry_shield():
    image, draw = canvas()
    green = (25, 110, 50, 255)
    left, right, shoulder, point = 24, S - 24, 120, 234
    shield = [(left, 22), (right, 22)]
    for k in range(21):  # the right side curves in to the point, the left side back up
        t = k / 20
        shield.append((right - (right - S / 2) * t ** 1.6, shoulder + (point - shoulder) * math.sin(t * math.pi / 2)))
    for k in range(20, -1, -1):
        t = k / 20
        shield.append((left + (S / 2 - left) * t ** 1.6, shoulder + (point - shoulder) * math.sin(t * math.pi / 2)))
    draw.polygon(shield, fill=green)
    draw.line(shield + [shield[0]], fill=(230, 200, 60, 255), width=12, joint="curve")
    cx = S / 2
    for top, half in ((52, 36), (88, 54), (124, 72)):
        draw.polygon([(cx, top), (cx + half, top + 58), (cx - half, top + 58)], fill=WHITE)
    draw.rectangle((cx - 12, 182, cx + 12, 208), fill=WHITE)
    return image


def smoke_sensitive():
    image, draw = canvas()
    diamond = [(S / 2, 10), (S - 10, S / 2), (S / 2, S - 10), (10, S / 2)]
    draw.polygon(diamond, fill=(255, 210, 40, 255))
    draw.line(diamond + [diamond[0]], fill=BLACK, width=OUTLINE, joint="curve")
    grey = (90, 90, 90, 255)
    for x, y, r in ((104, 170, 30), (130, 134, 34), (112, 96, 28), (140, 66, 22)):
        draw.ellipse((x - r, y - r, x + r, y + r), fill=grey)
    draw.rectangle((92, 186, 164, 206), fill=(60, 60, 60, 255))  # the chimney's source
    return image


def accident():
    image, draw = canvas()
    triangle = [(S / 2, 16), (S - 14, S - 24), (14, S - 24)]
    draw.polygon(triangle, fill=(255, 205, 20, 255))
    draw.line(triangle + [triangle[0]], fill=BLACK, width=16, joint="curve")
    draw.rounded_rectangle((S / 2 - 13, 82, S / 2 + 13, 168), radius=10, fill=BLACK)
    draw.ellipse((S / 2 - 15, 180, S / 2 + 15, 210), fill=BLACK)
    return image


def tower():
    image, draw = canvas()
    disc(draw, (235, 245, 255, 255))
    brown = (110, 70, 30, 255)
    cab = (84, 36, 172, 92)
    draw.polygon([(cab[0] - 10, cab[1] + 6), (S / 2, cab[1] - 18), (cab[2] + 10, cab[1] + 6)], fill=brown)
    draw.rectangle(cab, fill=(150, 200, 240, 255), outline=brown, width=8)
    draw.line([(100, 92), (70, 226)], fill=brown, width=10)
    draw.line([(156, 92), (186, 226)], fill=brown, width=10)
    for y0, y1 in ((110, 150), (150, 190), (190, 226)):
        x_left0, x_left1 = 100 - (y0 - 92) * 30 / 134, 100 - (y1 - 92) * 30 / 134
        x_right0, x_right1 = 156 + (y0 - 92) * 30 / 134, 156 + (y1 - 92) * 30 / 134
        draw.line([(x_left0, y0), (x_right1, y1)], fill=brown, width=5)
        draw.line([(x_right0, y0), (x_left1, y1)], fill=brown, width=5)
    return image


def dot_fuel():
    image, draw = canvas()
    rounded_square(draw, (20, 70, 160, 255))
    body = (70, 62, 150, 196)
    draw.rounded_rectangle(body, radius=10, fill=WHITE)
    draw.rectangle((84, 78, 136, 110), fill=(20, 70, 160, 255))  # the pump's window
    draw.line([(150, 96), (176, 110), (176, 170), (190, 180)], fill=WHITE, width=10, joint="curve")
    draw.rectangle((60, 192, 160, 204), fill=WHITE)
    label(draw, "DOT", 42, WHITE, (S / 2, 226))
    return image


def beetle():
    image, draw = canvas()
    disc(draw, (240, 225, 190, 255), ring=(120, 80, 30, 255))
    dark = (50, 30, 15, 255)
    for side in (-1, 1):
        for y, reach in ((112, 62), (142, 70), (172, 62)):
            draw.line([(S / 2, y), (S / 2 + side * reach, y - 18 + (y - 112) * 0.6),
                       (S / 2 + side * (reach + 14), y + 10)], fill=dark, width=7)
        draw.line([(S / 2 + side * 10, 66), (S / 2 + side * 34, 36)], fill=dark, width=6)
    draw.ellipse((S / 2 - 20, 56, S / 2 + 20, 92), fill=dark)  # head
    draw.ellipse((S / 2 - 46, 84, S / 2 + 46, 214), fill=(90, 50, 20, 255))  # wing cases
    draw.line([(S / 2, 90), (S / 2, 212)], fill=dark, width=5)
    return image


def rust():
    image, draw = canvas()
    disc(draw, (225, 245, 215, 255), ring=(40, 110, 40, 255))
    green = (30, 120, 40, 255)
    base = (S / 2, 206)
    for angle in (-28, -10, 8, 26):
        a = math.radians(angle - 90)
        draw.line([base, (base[0] + 150 * math.cos(a), base[1] + 150 * math.sin(a))], fill=green,
                  width=10)
    draw.line([base, (base[0], base[1] + 22)], fill=(110, 70, 30, 255), width=12)
    orange = (225, 110, 20, 255)
    for x, y, r in ((104, 92, 13), (120, 130, 11), (150, 110, 13), (138, 160, 10), (168, 80, 10),
                    (92, 140, 9)):
        draw.ellipse((x - r, y - r, x + r, y + r), fill=orange, outline=(150, 60, 10, 255), width=3)
    return image


def other_tree_disease():
    image, draw = canvas()
    disc(draw, (240, 230, 245, 255), ring=(120, 40, 140, 255))
    draw.rectangle((S / 2 - 12, 150, S / 2 + 12, 214), fill=(110, 70, 30, 255))
    for x, y, r in ((100, 112, 46), (156, 112, 46), (128, 78, 46), (128, 130, 46)):
        draw.ellipse((x - r, y - r, x + r, y + r), fill=(60, 140, 50, 255))
    for x, y, r in ((104, 96, 14), (150, 128, 17), (132, 64, 11), (116, 146, 10)):
        draw.ellipse((x - r, y - r, x + r, y + r), fill=(120, 70, 40, 255))
    return image


def other():
    image, draw = canvas()
    disc(draw, (150, 150, 160, 255), ring=(60, 60, 70, 255))
    draw.ellipse(box(60), outline=WHITE, width=14)
    draw.ellipse(box(108), fill=WHITE)
    return image


def wildfire():
    image, draw = canvas()
    flame(draw, S / 2, S - 14, 210, 236)
    return image


PNG_ICONS = {
    "av_obstaclea.png": aerial_hazard,
    "campa.png": camp,
    "droppoint.png": drop_point,
    "fire_origina.png": fire_origin,
    "faids.png": first_aid,
    "helibasea.png": helibase,
    "hot_spotA.png": hot_spot,
    "incident_basea.png": incident_base,
    "icsa.png": command_post,
    "weaxa.png": weather_unit,
    "spotfirea.png": spot_fire,
    "staginga.png": staging_area,
    "water_sourcea.png": water_source,
    "tanker_base.png": tanker_base,
    "SHIELD.png": forestry_shield,
    "ssf.png": smoke_sensitive,
    "accident.png": accident,
    "towera.png": tower,
    "dot_logo.png": dot_fuel,
    "beetle.png": beetle,
    "rust.png": rust,
    "otd.png": other_tree_disease,
    "other.png": other,
    "ffire.png": wildfire,
}

# --- storm icons -----------------------------------------------------------------------------

# Saffir-Simpson colours, weakest to strongest; the plain icon (no category) is grey.
STORM_COLOURS = {
    "TD": (94, 186, 255),
    "TS": (0, 220, 215),
    "Cat1": (250, 238, 120),
    "Cat2": (255, 215, 90),
    "Cat3": (255, 170, 50),
    "Cat4": (255, 120, 30),
    "Cat5": (235, 50, 50),
    "": (170, 170, 170),
}
STORM_LABELS = {"TD": "TD", "TS": "TS", "Cat1": "1", "Cat2": "2", "Cat3": "3", "Cat4": "4",
                "Cat5": "5", "": ""}


def storm_mask():
    """The storm symbol: a round eye with two spiral arms turning anticlockwise."""
    mask = Image.new("L", (S, S), 0)
    draw = ImageDraw.Draw(mask)
    cx = cy = S / 2
    eye = 58
    draw.ellipse((cx - eye, cy - eye, cx + eye, cy + eye), fill=255)
    for start in (math.radians(-90), math.radians(90)):
        outer, inner = [], []
        steps = 40
        for k in range(steps + 1):
            t = k / steps
            angle = start - t * math.radians(115)
            radius = eye * 0.7 + t * (S / 2 - 14 - eye * 0.7)
            half_width = 34 * (1 - t) ** 0.8
            outer.append((cx + (radius + half_width) * math.cos(angle),
                          cy + (radius + half_width) * math.sin(angle)))
            inner.append((cx + (radius - half_width) * math.cos(angle),
                          cy + (radius - half_width) * math.sin(angle)))
        draw.polygon(outer + inner[::-1], fill=255)
    return mask


def grow(mask, pixels):
    return mask.filter(ImageFilter.MaxFilter(2 * pixels + 1))


def storm(code, forecast):
    colour = STORM_COLOURS[code]
    shape = storm_mask()
    image = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    outer = grow(shape, 6)
    image.paste(BLACK, (0, 0), outer)
    if forecast:
        # A forecast keeps the category's colour as a broad rim around a white symbol, so it
        # reads as "the same storm, not there yet".
        inner = shape.filter(ImageFilter.MinFilter(17))
        image.paste(colour + (255,), (0, 0), shape)
        image.paste(WHITE, (0, 0), inner)
    else:
        image.paste(colour + (255,), (0, 0), shape)
    text = STORM_LABELS[code]
    if text:
        draw = ImageDraw.Draw(image)
        size = 76 if len(text) == 2 else 96
        draw.text((S / 2, S / 2 + 2), text, font=font(size), fill=BLACK, anchor="mm")
    return image


def as_gif(image):
    """One transparent colour: pixels at least half covered become opaque, and their colour
    is mixed with the outline's dark so the hard edge does not show a light fringe."""
    alpha = image.getchannel("A")
    backdrop = Image.new("RGBA", image.size, BLACK)
    flat = Image.alpha_composite(backdrop, image).convert("RGB")
    palette = flat.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    clear = alpha.point(lambda a: 255 if a < 128 else 0)
    palette.paste(255, (0, 0), clear)
    return palette


def storm_icons():
    icons = {}
    for code in ("TD", "TS", "Cat1", "Cat2", "Cat3", "Cat4", "Cat5"):
        icons[code + "Hurricane.gif"] = lambda c=code: storm(c, False)
        icons["Fcast_" + code + "Hurricane.gif"] = lambda c=code: storm(c, True)
    icons["Hurricane.gif"] = lambda: storm("", False)
    return icons


def main():
    here = pathlib.Path(__file__).resolve().parent
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else here.parent / "data" / "icons"
    folder.mkdir(parents=True, exist_ok=True)
    for name, draw in PNG_ICONS.items():
        finish(draw()).save(folder / name, optimize=True)
    for name, draw in storm_icons().items():
        as_gif(finish(draw())).save(folder / name, transparency=255, optimize=False)
    print(f"{len(PNG_ICONS) + len(storm_icons())} icons written to {folder}")


if __name__ == "__main__":
    main()
