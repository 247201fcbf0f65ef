"""Where the parts of a card stand. Each layout takes the card, its scheme and a canvas of its size
and sets blocks of lines; decorations (logo shapes, bars, rules) are drawn here too."""
from dataclasses import replace

from . import blocks
from .typeset import Block, mm, PT

M = mm(5)   # margin


def logo(canvas, rng, x, y, size, colour):
    """A simple logo shape of the given size with its top left at (x, y)."""
    d = canvas.draw
    kind = rng.choice(["circle", "ring", "diamond", "bars", "triangle", "squares", "arc"])
    if kind == "circle":
        d.ellipse([x, y, x + size, y + size], fill=colour)
    elif kind == "ring":
        d.ellipse([x, y, x + size, y + size], outline=colour, width=int(size * 0.16))
    elif kind == "diamond":
        c = size / 2
        d.polygon([(x + c, y), (x + size, y + c), (x + c, y + size), (x, y + c)], fill=colour)
    elif kind == "bars":
        for i in range(3):
            d.rectangle([x + i * size * 0.36, y + size * (0.5 - 0.25 * i), x + i * size * 0.36 + size * 0.26, y + size], fill=colour)
    elif kind == "triangle":
        d.polygon([(x, y + size), (x + size / 2, y), (x + size, y + size)], fill=colour)
    elif kind == "squares":
        h = size * 0.46
        d.rectangle([x, y, x + h, y + h], fill=colour)
        d.rectangle([x + size - h, y + size - h, x + size, y + size], fill=colour)
        d.rectangle([x + size - h, y, x + size, y + h], outline=colour, width=int(size * 0.08))
    else:
        d.arc([x, y, x + size, y + size], 30, 330, fill=colour, width=int(size * 0.18))


def _stack(*groups, gap=2.0):
    """Groups of lines one after another, with a gap (points) before each group but the first."""
    out = []
    for g in groups:
        if not g:
            continue
        if out:
            g = [replace(g[0], space_before=g[0].space_before + gap)] + g[1:]
        out.extend(g)
    return out


def minimal_split(c, card, s, rng):
    """Company small top left, the person left in the middle, numbers right-aligned on the right."""
    half = c.w * 0.5
    c.place(Block(M, M, half, mm(9), blocks.company(card, s, rng)))
    c.place(Block(M, c.h * 0.34, half - mm(2), c.h * 0.5, _stack(blocks.name(card, s), blocks.role(card, s), gap=1.5),
                  valign="center"))
    right = _stack(blocks.contacts(card, s, combine=False), blocks.address(card, s), gap=2.5)
    c.place(Block(half + mm(1), M, c.w - half - mm(1) - M, c.h - 2 * M, right, align="right", valign="bottom"))


def contact_bar(c, card, s, rng):
    """Name and company above; a coloured bar along the foot holds the numbers in white."""
    bar = c.h * rng.uniform(0.32, 0.4)
    c.draw.rectangle([0, c.h - bar, c.w, c.h], fill=s.accent)
    size = c.h * 0.16
    logo(c, rng, M, M, size, s.accent)
    c.place(Block(M + size + mm(2.5), M, c.w * 0.5, size, blocks.company(card, s, rng), valign="center"))
    c.place(Block(c.w * 0.45, M, c.w * 0.55 - M, c.h - bar - 2 * M + mm(2), _stack(blocks.name(card, s), blocks.role(card, s)),
                  align="right", valign="center"))
    white = replace(s, body=replace(s.body, colour=(255, 255, 255)), label=replace(s.label, colour=(255, 255, 255)))
    lines = blocks.contacts(card, white, combine=False)
    for ln in lines:
        ln.style = replace(ln.style, colour=(255, 255, 255))
    half = (len(lines) + 1) // 2
    top = c.h - bar + mm(2)
    c.place(Block(M, top, c.w * 0.5 - M, bar - mm(4), lines[:half], valign="center", icon_ink=s.accent))
    addr = [replace(ln, style=replace(ln.style, colour=(255, 255, 255))) for ln in blocks.address(card, white, icon_ok=False)]
    c.place(Block(c.w * 0.5 + mm(1), top, c.w * 0.5 - M - mm(1), bar - mm(4), _stack(lines[half:], addr, gap=1),
                  valign="center", icon_ink=s.accent))


def icon_column(c, card, s, rng):
    """The person and company on the left; numbers, e-mail, web and address in rows on the right."""
    c.draw.line([c.w * 0.5, M, c.w * 0.5, c.h - M], fill=s.accent, width=max(1, int(PT * 0.5)))
    left = _stack(blocks.name(card, s), blocks.role(card, s), blocks.company(card, s, rng), gap=4)
    c.place(Block(M, M, c.w * 0.5 - M - mm(3), c.h - 2 * M, left, valign="center"))
    right = _stack(blocks.contacts(card, s, column=True, combine=False), blocks.address(card, s), gap=1.5)
    c.place(Block(c.w * 0.5 + mm(3), M, c.w * 0.5 - M - mm(3), c.h - 2 * M, right, valign="center"))


def logo_right(c, card, s, rng):
    """Logo and company top right; name top left; address and numbers along the foot on the left."""
    size = c.h * 0.2
    logo(c, rng, c.w - M - size, M, size, s.accent)
    c.place(Block(c.w * 0.45, M + size + mm(1.5), c.w * 0.55 - M, mm(10), blocks.company(card, s, rng), align="right"))
    c.place(Block(M, M, c.w * 0.55, c.h * 0.36, _stack(blocks.name(card, s), blocks.role(card, s), gap=1)))
    foot = _stack(blocks.address(card, s), blocks.contacts(card, s, column=True, combine=False), gap=1.5)
    c.place(Block(M, c.h * 0.42, c.w * 0.62, c.h * 0.58 - M, foot, valign="bottom"))


def smallcaps_center(c, card, s, rng):
    """Everything centred, the name in small capitals, the company as a spaced wordmark."""
    caps = "small" if card.name_caps == "small" else card.name_caps
    lines = _stack(blocks.company(card, s, rng), blocks.name(card, s, caps=caps), blocks.role(card, s),
                   blocks.address(card, s, icon_ok=False), blocks.contacts(card, s), gap=3)
    c.place(Block(M, M, c.w - 2 * M, c.h - 2 * M, lines, align="center", valign="center"))


def wordmark_top(c, card, s, rng):
    """A spaced wordmark across the top over a thin rule; the person left; numbers in two columns below."""
    c.place(Block(M, M, c.w - 2 * M, mm(10), blocks.company(card, s, rng), align=rng.choice(["left", "center"])))
    y = M + mm(11)
    c.draw.line([M, y, c.w - M, y], fill=s.accent, width=max(1, int(PT * 0.4)))
    c.place(Block(M, y + mm(2), c.w - 2 * M, c.h * 0.28, _stack(blocks.name(card, s), blocks.role(card, s), gap=0.5)))
    rows = blocks.contacts(card, s)
    addr = blocks.address(card, s)
    half = (len(rows) + 1) // 2 if not addr else len(rows)
    top = y + mm(2) + c.h * 0.3
    c.place(Block(M, top, c.w * 0.5 - M, c.h - top - M, addr or rows[:half], valign="bottom"))
    c.place(Block(c.w * 0.5, top, c.w * 0.5 - M, c.h - top - M, rows if addr else rows[half:], valign="bottom",
                  align="right"))


def stacked_left(c, card, s, rng):
    """One column on the left: the name (often thin), the role, the company, the address, the numbers."""
    lines = _stack(blocks.name(card, s), blocks.role(card, s), blocks.company(card, s, rng, legal=False),
                   blocks.address(card, s), blocks.contacts(card, s), gap=3)
    size = c.h * 0.14
    c.place(Block(M + mm(2), M, c.w - 2 * M - size - mm(6), c.h - 2 * M, lines, valign="center"))
    logo(c, rng, c.w - M - size, c.h - M - size, size, s.accent)


def side_stripe(c, card, s, rng):
    """A coloured stripe down the left edge; the person top, the company and numbers below."""
    stripe = mm(rng.uniform(5, 9))
    c.draw.rectangle([0, 0, stripe, c.h], fill=s.accent)
    x = stripe + mm(4)
    c.place(Block(x, M, c.w - x - M, c.h * 0.38, _stack(blocks.name(card, s), blocks.role(card, s), gap=1)))
    foot = _stack(blocks.company(card, s, rng), blocks.address(card, s), gap=1.5)
    c.place(Block(x, c.h * 0.45, (c.w - x - M) * 0.5, c.h * 0.55 - M, foot, valign="bottom"))
    c.place(Block(x + (c.w - x - M) * 0.5 + mm(1), c.h * 0.45, (c.w - x - M) * 0.5 - mm(1), c.h * 0.55 - M,
                  blocks.contacts(card, s, combine=False), valign="bottom", align="right"))


def portrait_stack(c, card, s, rng):
    """A portrait card: logo, company, name and role centred above; numbers and address below."""
    size = c.w * 0.22
    logo(c, rng, (c.w - size) / 2, M + mm(2), size, s.accent)
    top = M + size + mm(4)
    c.place(Block(M, top, c.w - 2 * M, c.h * 0.42, _stack(blocks.company(card, s, rng), blocks.name(card, s),
                                                           blocks.role(card, s), gap=4), align="center"))
    c.place(Block(M, c.h * 0.58, c.w - 2 * M, c.h * 0.42 - M, _stack(blocks.contacts(card, s), blocks.address(card, s), gap=2),
                  align="center", valign="bottom"))


def cjk_two_column(c, card, s, rng):
    """An Asian card: company with logo top left, role over the large name, the address, and the
    numbers in two columns along the foot."""
    size = c.h * 0.13
    logo(c, rng, M, M, size, s.accent)
    c.place(Block(M + size + mm(2), M, c.w * 0.7, size + mm(4), blocks.company(card, s, rng), valign="center"))
    y = M + size + mm(4)
    c.place(Block(M, y, c.w - 2 * M, c.h * 0.36, _stack(blocks.role(card, s), blocks.name(card, s), gap=1),
                  align=rng.choice(["left", "center"])))
    y += c.h * 0.36 + mm(1)
    left = blocks.contacts(card, s, kinds={"phone", "direct", "mobile", "fax"}, combine=False)
    right = blocks.contacts(card, s, kinds={"email", "url"}, combine=False)
    c.place(Block(M, y, c.w * 0.48 - M, c.h - y - M, _stack(blocks.address(card, s), left, gap=1), valign="bottom"))
    c.place(Block(c.w * 0.5, y, c.w * 0.5 - M, c.h - y - M, right, valign="bottom"))


def cjk_bilingual(c, card, s, rng):
    """An Asian card with English beside it: names and companies in both, numbers on the right."""
    left = _stack(blocks.company(card, s, rng, with_latin=True), blocks.role(card, s), blocks.name(card, s, with_latin=True),
                  gap=3)
    c.place(Block(M, M, c.w * 0.5, c.h - 2 * M, left, valign="center"))
    right = _stack(blocks.address(card, s), blocks.contacts(card, s, column=True, combine=False), gap=2)
    c.place(Block(c.w * 0.52, M, c.w * 0.48 - M, c.h - 2 * M, right, valign="bottom"))


HORIZONTAL = {
    "minimal-split": minimal_split, "contact-bar": contact_bar, "icon-column": icon_column, "logo-right": logo_right,
    "smallcaps-center": smallcaps_center, "wordmark-top": wordmark_top, "stacked-left": stacked_left,
    "side-stripe": side_stripe, "cjk-two-column": cjk_two_column, "cjk-bilingual": cjk_bilingual,
}
PORTRAIT = {"portrait-stack": portrait_stack}
WESTERN = ["minimal-split", "contact-bar", "icon-column", "logo-right", "smallcaps-center", "wordmark-top",
           "stacked-left", "side-stripe", "portrait-stack"]
ASIAN = ["cjk-two-column", "cjk-bilingual", "minimal-split", "logo-right", "contact-bar", "stacked-left", "icon-column",
         "portrait-stack"]
