"""Small round icons that stand before a number or address instead of a word: a filled circle
holding a letter (T, M, F, @, W) or a drawn handset, mobile, envelope, globe or pin; or the
drawn glyph alone."""
from . import fonts

LETTERS = {"T", "M", "F", "@", "W", "E", "P"}
GLYPHS = {"phone", "mobile", "mail", "web", "pin", "fax"}


def _glyph(draw, kind, cx, cy, s, ink):
    """One drawn symbol of size s centred on (cx, cy)."""
    w = max(1, int(s * 0.11))
    if kind == "phone" or kind == "fax":
        # a handset: two ear pieces joined by a bent grip
        draw.arc([cx - s * 0.42, cy - s * 0.42, cx + s * 0.42, cy + s * 0.42], 200, 340, fill=ink, width=w * 2)
        draw.rounded_rectangle([cx - s * 0.48, cy - s * 0.2, cx - s * 0.22, cy + s * 0.12], s * 0.05, fill=ink)
        draw.rounded_rectangle([cx + s * 0.22, cy - s * 0.2, cx + s * 0.48, cy + s * 0.12], s * 0.05, fill=ink)
        if kind == "fax":
            draw.rectangle([cx - s * 0.3, cy + s * 0.18, cx + s * 0.3, cy + s * 0.42], outline=ink, width=w)
    elif kind == "mobile":
        draw.rounded_rectangle([cx - s * 0.22, cy - s * 0.42, cx + s * 0.22, cy + s * 0.42], s * 0.07, outline=ink, width=w)
        draw.ellipse([cx - s * 0.04, cy + s * 0.26, cx + s * 0.04, cy + s * 0.34], fill=ink)
    elif kind == "mail":
        draw.rectangle([cx - s * 0.42, cy - s * 0.28, cx + s * 0.42, cy + s * 0.28], outline=ink, width=w)
        draw.line([cx - s * 0.42, cy - s * 0.28, cx, cy + s * 0.04, cx + s * 0.42, cy - s * 0.28], fill=ink, width=w)
    elif kind == "web":
        draw.ellipse([cx - s * 0.42, cy - s * 0.42, cx + s * 0.42, cy + s * 0.42], outline=ink, width=w)
        draw.ellipse([cx - s * 0.17, cy - s * 0.42, cx + s * 0.17, cy + s * 0.42], outline=ink, width=w)
        draw.line([cx - s * 0.42, cy, cx + s * 0.42, cy], fill=ink, width=w)
    elif kind == "pin":
        draw.ellipse([cx - s * 0.27, cy - s * 0.45, cx + s * 0.27, cy + s * 0.09], outline=ink, width=w * 2)
        draw.polygon([(cx - s * 0.22, cy - s * 0.05), (cx + s * 0.22, cy - s * 0.05), (cx, cy + s * 0.45)], fill=ink)


def draw(draw, kind, x, y, d, colour, paper=(255, 255, 255)):
    """An icon of diameter d with its top left corner at (x, y). A kind starting "o-" is the glyph
    alone in the ink colour; others sit white in a filled circle."""
    cx, cy = x + d / 2, y + d / 2
    if kind.startswith("o-"):
        _glyph(draw, kind[2:], cx, cy, d, colour)
        return
    draw.ellipse([x, y, x + d, y + d], fill=colour)
    if kind in GLYPHS:
        _glyph(draw, kind, cx, cy, d * 0.62, paper)
    else:
        f = fonts.font("roboto", "bold", d * 0.62)
        draw.text((cx, cy), kind, font=f, fill=paper, anchor="mm")
