"""A card's typefaces and colours: a name face (thin or hairline on some), a body face, an accent."""
from dataclasses import dataclass, replace

from . import fonts
from .typeset import Style

INKS = [(25, 25, 25), (40, 40, 48), (20, 32, 60), (55, 55, 55), (30, 45, 40), (60, 30, 35)]
ACCENTS = [(0, 84, 147), (180, 30, 45), (0, 120, 100), (230, 120, 0), (90, 50, 140), (20, 20, 20),
           (0, 150, 200), (120, 140, 30), (160, 110, 40), (200, 40, 120)]
PAPERS = [(255, 255, 255), (255, 255, 255), (252, 250, 244), (248, 246, 240), (244, 247, 250), (250, 246, 236)]
THIN = ("hairline", "thin", "light")


@dataclass
class Scheme:
    name: Style
    reading: Style
    company: Style
    role: Style
    body: Style
    label: Style
    small: Style
    accent: tuple
    paper: tuple
    ink: tuple


def choose(rng, card):
    families = fonts.BY_SCRIPT[card.script]
    body = rng.choice(families)
    name_family = body if rng.random() < 0.5 else rng.choice(families)
    ink = rng.choice(INKS)
    accent = rng.choice(ACCENTS)
    latin = card.script in ("latin", "cyrillic")
    name_weight = rng.choice(["regular", "medium", "bold", "light", "thin", "hairline"] if latin else
                             ["regular", "medium", "bold", "light", "thin"])
    if name_weight in THIN and fonts.nearest_weight(name_family, name_weight) not in THIN:
        thin_families = [f for f in families if set(fonts.weights(f)) & set(THIN)]
        name_family = rng.choice(thin_families) if thin_families else name_family
    name_size = rng.uniform(11, 15) if latin else rng.uniform(14, 19)
    if name_weight in THIN:
        name_size *= 1.15
    body_size = rng.uniform(6.6, 7.8)
    return Scheme(
        name=Style(name_family, name_weight, name_size, ink if rng.random() < 0.7 else accent),
        reading=Style(body, "regular", body_size * 0.85, ink),
        company=Style(rng.choice(families), rng.choice(["bold", "medium", "regular"]), rng.uniform(8.5, 11.5),
                      accent if rng.random() < 0.6 else ink),
        role=Style(body, rng.choice(["regular", "light", "regular"]), body_size * rng.uniform(1.0, 1.12), ink),
        body=Style(body, "regular", body_size, ink),
        label=Style(body, rng.choice(["bold", "regular", "medium"]), body_size, accent if rng.random() < 0.5 else ink),
        small=Style(body, "regular", body_size * 0.82, ink),
        accent=accent, paper=rng.choice(PAPERS), ink=ink)


def wordmark(rng, style):
    return replace(style, tracking=rng.uniform(0.12, 0.35), size=style.size * 1.1)
