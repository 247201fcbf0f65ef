"""Japanese set in vertical columns read from right to left (company, role, name, address, numbers),
with the e-mail and web rows and sometimes a romanised name set horizontally at the foot."""
from dataclasses import replace

from PIL import Image, ImageDraw

from . import fonts, icons, layouts
from .typeset import Block, Line, PT, mm

ROTATE = set("-－‐―ー〜～()（）「」:：[]［］")
SMALL = set("ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ")
PUNCT = set("、。，．")
WIDE = {ord(c): ord(c) + 0xFEE0 for c in "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"}
WIDE.update({ord("-"): "－", ord(" "): "　", ord("("): "（", ord(")"): "）"})
LABELS = {"phone": ["電話", "ＴＥＬ", "電話"], "direct": ["直通"], "mobile": ["携帯", "携帯電話"], "fax": ["ＦＡＸ", "ファクス"]}
ICONS = {"phone": ["T", "phone"], "direct": ["T", "phone"], "mobile": ["M", "mobile"], "fax": ["F", "fax"]}


def upright(text):
    """The text as set in a column: digits and Latin letters full width, so that they stand upright."""
    return text.translate(WIDE)


def column_length(text, size, spacing):
    return len(text) * size * (1 + spacing)


def draw_column(canvas, x_center, y_top, text, style, spacing=0.0):
    """One vertical column of characters centred on x_center, starting at y_top; returns its end."""
    size = style.size * PT
    y = y_top
    for ch in text:
        f = fonts.font_for(style.family, style.weight, size, ch)
        if ch in ("　", " "):
            y += size * (1 + spacing)
            continue
        if ch in ROTATE:
            cell = Image.new("L", (int(size * 1.4), int(size * 1.4)), 0)
            ImageDraw.Draw(cell).text((cell.width / 2, cell.height / 2), ch, font=f, fill=255, anchor="mm")
            cell = cell.rotate(-90)
            ink = Image.new("RGB", cell.size, style.colour)
            canvas.im.paste(ink, (int(x_center - cell.width / 2), int(y + size / 2 - cell.height / 2)), cell)
        else:
            dx, dy = (size * 0.18, -size * 0.18) if ch in SMALL or ch in PUNCT else (0, 0)
            if ch in PUNCT:
                dx, dy = size * 0.3, -size * 0.3
            canvas.draw.text((x_center + dx, y + size / 2 + dy), ch, font=f, fill=style.colour, anchor="mm")
        y += size * (1 + spacing)
    return y


def _fit(text, style, spacing, room):
    while column_length(text, style.size * PT, spacing) > room and style.size > 5:
        style = style.scaled(0.94)
        spacing *= 0.9
    return style, spacing


def _wrap(text, style, room):
    """Splits a line too long for one column into columns of the room's length."""
    size = style.size * PT
    per = max(4, int(room // size))
    return [text[i:i + per] for i in range(0, len(text), per)]


class _Columns:
    """Sets columns from the right edge leftwards; dry, it only measures how far they reach."""

    def __init__(self, canvas, top, bottom, x, k, dry):
        self.c, self.top, self.bottom, self.x, self.k, self.dry = canvas, top, bottom, x, k, dry

    def gap(self, v):
        self.x -= v * self.k

    def column(self, text, style, spacing=0.0, start=None, label_icon=""):
        start = self.top if start is None else start
        style = style.scaled(self.k)
        text = upright(text)
        style, spacing = _fit(text, style, spacing, self.bottom - start)
        size = style.size * PT
        y = start
        if label_icon:
            d = size * 1.1
            if not self.dry:
                icons.draw(self.c.draw, label_icon, self.x - d / 2, y, d, style.colour)
            y += d + size * 0.4
        parts = _wrap(text, style, self.bottom - y) if column_length(text, size, spacing) > self.bottom - y else [text]
        for i, part in enumerate(parts):
            if not self.dry:
                draw_column(self.c, self.x, y, part, style, spacing)
            self.x -= size * 1.55
            y = start + (size * 2 if i == 0 else 0)


def jp_vertical(c, card, s, rng):
    top, foot = mm(6), mm(5)
    foot_lines = []
    if card.name_latin:
        foot_lines.append(Line(card.name_latin, s.small))
    if card.company_latin:
        foot_lines.append(Line(card.company_latin, s.small))
    for r in card.rows:
        if r.kind in ("email", "url"):
            foot_lines.append(Line((r.label if card.label_mode == "word" else "") + r.value, s.small,
                                   icon=r.icon if card.label_mode in ("icon", "glyph") else ""))
    foot_h = (len(foot_lines) * s.small.size * PT * 1.35) if foot_lines else 0
    bottom = c.h - foot - foot_h - (mm(2) if foot_lines else 0)
    logo_size = c.w * 0.13 if rng.random() < 0.5 else 0
    role_starts = [top + mm(rng.uniform(4, 10)) for _ in card.role_lines]
    name_spacing = rng.uniform(0.15, 0.5)
    numbers = []
    for r in card.rows:
        if r.kind in ("email", "url"):
            continue
        if card.label_mode in ("icon", "glyph"):
            numbers.append((r.value, ("o-" if card.label_mode == "glyph" else "") + rng.choice(ICONS[r.kind])))
        elif card.label_mode == "none":
            numbers.append((r.value, ""))
        else:
            numbers.append((rng.choice(LABELS[r.kind]) + "　" + r.value, ""))
    name_style = replace(s.name, size=max(s.name.size, 16))
    company_style = replace(s.company, size=min(s.company.size, 9.5))

    def compose(k, dry):
        cols = _Columns(c, top, bottom, c.w - mm(7), k, dry)
        start = top
        if logo_size:
            if not dry:
                layouts.logo(c, rng, cols.x - logo_size / 2, top, logo_size, s.accent)
            start = top + logo_size + mm(2)
        cols.column(card.company, company_style, start=start)
        cols.gap(mm(2))
        for text, y in zip(card.role_lines, role_starts):
            cols.column(text, s.role, start=y)
        cols.gap(mm(1))
        if card.name_reading:
            reading = replace(s.reading, size=name_style.size * k * 0.32)
            cols.gap(reading.size * PT * 1.6)
            if not dry:
                draw_column(c, cols.x + (name_style.size * 0.55 + reading.size * 0.8) * k * PT, top + mm(8),
                            card.name_reading.replace(" ", "　"), reading, 0.6)
        cols.column(card.name, name_style, spacing=name_spacing, start=top + mm(6))
        cols.gap(mm(3))
        if card.postal:
            cols.column(card.postal_mark + card.postal, s.body)
        for text in card.address:
            cols.column(text, s.body, start=top + mm(3))
        cols.gap(mm(1.5))
        for text, icon in numbers:
            cols.column(text, s.body, start=top + mm(3), label_icon=icon)
        return cols.x

    k = 1.0
    while compose(k, True) < mm(5) and k > 0.5:
        k *= 0.94
    compose(k, False)
    if foot_lines:
        c.place(Block(mm(5), bottom + mm(2), c.w - mm(10), foot_h + mm(1), foot_lines, align=rng.choice(["left", "center"]),
                      leading=1.3))


VERTICAL = {"jp-vertical": jp_vertical}
