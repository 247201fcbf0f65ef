"""The typefaces the cards are set in, by script and role, found in Debian's font folders."""
import functools
import glob
import os

from PIL import Image, ImageDraw, ImageFont

ROOT = "/usr/share/fonts"

# family -> weight -> file name (searched under ROOT). Latin families that also hold Cyrillic say so.
FAMILIES = {
    "roboto": {"thin": "Roboto-Thin.ttf", "light": "Roboto-Light.ttf", "regular": "Roboto-Regular.ttf",
               "medium": "Roboto-Medium.ttf", "bold": "Roboto-Bold.ttf"},
    "roboto-condensed": {"light": "RobotoCondensed-Light.ttf", "regular": "RobotoCondensed-Regular.ttf",
                         "medium": "RobotoCondensed-Medium.ttf", "bold": "RobotoCondensed-Bold.ttf"},
    "open-sans": {"light": "OpenSans-Light.ttf", "regular": "OpenSans-Regular.ttf",
                  "medium": "OpenSans-Semibold.ttf", "bold": "OpenSans-Bold.ttf"},
    "lato": {"hairline": "Lato-Hairline.ttf", "thin": "Lato-Thin.ttf", "light": "Lato-Light.ttf",
             "regular": "Lato-Regular.ttf", "medium": "Lato-Semibold.ttf", "bold": "Lato-Bold.ttf"},
    "carlito": {"regular": "Carlito-Regular.ttf", "bold": "Carlito-Bold.ttf"},
    "caladea": {"regular": "Caladea-Regular.ttf", "bold": "Caladea-Bold.ttf"},
    "eb-garamond": {"regular": "EBGaramond12-Regular.otf", "medium": "EBGaramond08-Regular.otf"},
    "free-sans": {"regular": "FreeSans.ttf", "bold": "FreeSansBold.ttf"},
    "free-serif": {"regular": "FreeSerif.ttf", "bold": "FreeSerifBold.ttf"},
    "cantarell": {"thin": "Cantarell-Thin.otf", "light": "Cantarell-Light.otf", "regular": "Cantarell-Regular.otf",
                  "bold": "Cantarell-Bold.otf"},
    "mplus1": {"thin": "Mplus1-Thin.otf", "light": "Mplus1-Light.otf", "regular": "Mplus1-Regular.otf",
               "medium": "Mplus1-Medium.otf", "bold": "Mplus1-Bold.otf"},
    "mplus2": {"thin": "Mplus2-ExtraLight.otf", "light": "Mplus2-Light.otf", "regular": "Mplus2-Regular.otf",
               "medium": "Mplus2-Medium.otf", "bold": "Mplus2-Bold.otf"},
    "ipaex-gothic": {"regular": "ipaexg.ttf"},
    "ipaex-mincho": {"regular": "ipaexm.ttf"},
    "vl-gothic": {"regular": "VL-PGothic-Regular.ttf"},
    "wqy-zenhei": {"regular": ("wqy-zenhei.ttc", 0)},
    "wqy-microhei": {"regular": ("wqy-microhei.ttc", 0)},
    "ar-uming": {"regular": ("uming.ttc", 0)},
    "ar-ukai": {"regular": ("ukai.ttc", 0)},
    "nanum-gothic": {"regular": "NanumGothic.ttf", "bold": "NanumGothicBold.ttf"},
    "nanum-barun": {"regular": "NanumBarunGothic.ttf", "bold": "NanumBarunGothicBold.ttf"},
    "nanum-square": {"regular": "NanumSquareR.ttf", "bold": "NanumSquareB.ttf"},
    "nanum-myeongjo": {"regular": "NanumMyeongjo.ttf", "bold": "NanumMyeongjoBold.ttf"},
    "un-dotum": {"regular": "UnDotum.ttf", "bold": "UnDotumBold.ttf"},
    "un-batang": {"regular": "UnBatang.ttf", "bold": "UnBatangBold.ttf"},
}

# Which families may set a card of a script (body text); the names of Latin cards may also take
# the thin and hairline weights these have.
BY_SCRIPT = {
    "latin": ["roboto", "roboto-condensed", "open-sans", "lato", "carlito", "caladea", "eb-garamond",
              "free-sans", "free-serif", "cantarell"],
    "cyrillic": ["roboto", "roboto-condensed", "open-sans", "lato", "carlito", "eb-garamond", "free-sans",
                 "free-serif", "cantarell"],
    "japanese": ["mplus1", "mplus2", "ipaex-gothic", "ipaex-mincho", "vl-gothic"],
    "chinese": ["wqy-zenhei", "wqy-microhei", "ar-uming", "ar-ukai"],
    "korean": ["nanum-gothic", "nanum-barun", "nanum-square", "nanum-myeongjo", "un-dotum", "un-batang"],
}
WEIGHT_ORDER = ["hairline", "thin", "light", "regular", "medium", "bold"]
# Where a character missing from a card's face is taken from (a postal mark, a full-width dash).
FALLBACK = ["ipaex-gothic", "wqy-zenhei"]


@functools.lru_cache(maxsize=None)
def _find(name):
    hits = glob.glob(os.path.join(ROOT, "**", name), recursive=True)
    if not hits:
        raise SystemExit("font %s is missing: run bench/cards/install-deps" % name)
    return sorted(hits)[0]


def weights(family):
    return [w for w in WEIGHT_ORDER if w in FAMILIES[family]]


def nearest_weight(family, weight):
    have = weights(family)
    if weight in have:
        return weight
    want = WEIGHT_ORDER.index(weight)
    return min(have, key=lambda w: abs(WEIGHT_ORDER.index(w) - want))


@functools.lru_cache(maxsize=4096)
def font(family, weight, size_px):
    entry = FAMILIES[family][nearest_weight(family, weight)]
    name, index = entry if isinstance(entry, tuple) else (entry, 0)
    return ImageFont.truetype(_find(name), max(6, int(round(size_px))), index=index)


def check_all():
    """Every file of the catalogue is there (so a missing package is named before drawing)."""
    for family in FAMILIES.values():
        for entry in family.values():
            _find(entry[0] if isinstance(entry, tuple) else entry)


def _ink(f, ch):
    im = Image.new("L", (48, 48), 0)
    ImageDraw.Draw(im).text((8, 8), ch, font=f, fill=255)
    return im.tobytes()


@functools.lru_cache(maxsize=None)
def covers(family, weight, ch):
    """Whether the face has a glyph of its own for ch (it does not draw its missing-glyph box)."""
    if ch.isspace():
        return True
    f = font(family, weight, 32)
    return _ink(f, ch) != _ink(f, "\ue000")


def font_for(family, weight, size_px, ch):
    """The face to set ch in: the card's own, or the first fallback that has it."""
    if covers(family, weight, ch):
        return font(family, weight, size_px)
    for other in FALLBACK:
        if covers(other, "regular", ch):
            return font(other, "regular", size_px)
    return font(family, weight, size_px)
