"""The lines a layout sets for each part of a card: name, company, role, address, numbers."""
from dataclasses import replace

from . import labels
from .scheme import wordmark
from .typeset import Line


def name(card, s, caps=None, with_latin=True):
    out = []
    if card.name_reading:
        out.append(Line(card.name_reading, s.reading))
    out.append(Line(card.name, replace(s.name, caps=card.name_caps if caps is None else caps)))
    if card.name_latin and with_latin:
        out.append(Line(card.name_latin, s.small, space_before=0.5))
    return out


def role(card, s):
    out = [Line(t, s.role, wrap=True) for t in card.role_lines]
    if card.country_near_name:
        out.append(Line(card.country_near_name, s.small))
    return out


def company(card, s, rng, legal=True, with_latin=True):
    style = wordmark(rng, s.company) if card.wordmark else s.company
    out = [Line(card.company, style)]
    if card.company_legal and legal:
        out.append(Line(card.company_legal, s.small))
    if card.company_latin and with_latin:
        out.append(Line(card.company_latin, s.small))
    return out


def address(card, s, icon_ok=True):
    out = []
    label = labels.ADDRESS.get(card.lang, "")
    for i, text in enumerate(card.address):
        ln = Line(text, s.body, wrap=True)
        if i == 0 and label and card.label_mode == "word":
            ln.text = label + ("：" if card.lang != "ko" else ": ") + text
        if i == 0 and icon_ok and card.label_mode in ("icon", "glyph"):
            ln.icon = ("o-" if card.label_mode == "glyph" else "") + "pin"
        out.append(ln)
    if card.lang == "ja" and card.postal:
        code = card.postal_mark + card.postal
        if out and len(out[0].text) < 22:
            out[0].text = code + " " + out[0].text
        else:
            out.insert(0, Line(code, s.body))
    elif card.postal_line and card.postal:
        out.append(Line(labels.POSTAL.get(card.lang, "") + "：" + card.postal, s.body))
    return out


def _row_line(row, s, column):
    text = row.value
    if row.label and not column:
        text = row.label + text
    ln = Line(text, s.body, icon=row.icon)
    if row.label and column:
        ln.label = row.label.rstrip(" :.|：　") if row.label.strip(" :.|：　") else row.label
        ln.label_style = s.label
    return ln


def contacts(card, s, column=False, kinds=None, combine=True):
    """Lines of the numbers, e-mail and web rows; column sets the labels in a column of their own;
    combine lets two rows share a line where the card does so (a narrow block does not)."""
    rows = [r for r in card.rows if kinds is None or r.kind in kinds]
    out = []
    done = set()
    for r in rows:
        if id(r) in done:
            continue
        if combine and card.pair_numbers and r.kind == "phone" and card.row("fax") in rows:
            fax = card.row("fax")
            out.append(Line(r.label + r.value + "  |  " + fax.label + fax.value, s.body))
            done.add(id(fax))
        elif combine and card.email_url_line and r.kind == "email" and card.row("url") in rows:
            url = card.row("url")
            out.append(Line(r.label + r.value + "   " + url.label + url.value, s.body, icon=r.icon))
            done.add(id(url))
        else:
            out.append(_row_line(r, s, column and card.label_mode == "word"))
        done.add(id(r))
    return out
