"""What one card says: a person, a company, a role, an address and numbers in one language, with
the printed value of every field (the truth) and the other printed forms that read as right."""
import unicodedata
from dataclasses import dataclass, field

from . import addresses, labels, phones

LANGS = {
    "en": ("latin", [("uk", 0.45), ("us", 0.35), ("au", 0.2)]),
    "de": ("latin", [("de", 1)]), "fr": ("latin", [("fr", 1)]), "es": ("latin", [("es", 1)]),
    "it": ("latin", [("it", 1)]), "pt": ("latin", [("pt", 0.5), ("br", 0.5)]), "ru": ("cyrillic", [("ru", 1)]),
    "ja": ("japanese", [("jp", 1)]), "zh-hans": ("chinese", [("cn", 1)]),
    "zh-hant": ("chinese", [("tw", 0.75), ("hk", 0.25)]), "ko": ("korean", [("kr", 1)]),
}
TLDS = {"uk": [".co.uk", ".com", ".uk"], "us": [".com", ".io", ".net", ".us"], "au": [".com.au", ".au"],
        "de": [".de", ".com", ".eu"], "fr": [".fr", ".com"], "es": [".es", ".com"], "it": [".it", ".com"],
        "pt": [".pt", ".com"], "br": [".com.br"], "ru": [".ru", ".com"], "jp": [".co.jp", ".jp", ".com"],
        "cn": [".com.cn", ".cn", ".com"], "tw": [".com.tw", ".tw"], "hk": [".com.hk", ".hk"], "kr": [".co.kr", ".com"]}
RU_LATIN = dict(zip("абвгдеёжзийклмнопрстуфхцчшщъыьэюя",
                    ["a", "b", "v", "g", "d", "e", "e", "zh", "z", "i", "y", "k", "l", "m", "n", "o", "p", "r", "s", "t",
                     "u", "f", "kh", "ts", "ch", "sh", "shch", "", "y", "", "e", "yu", "ya"]))


@dataclass
class Row:
    kind: str      # phone, direct, mobile, fax, email, url, social
    value: str
    label: str = ""
    icon: str = ""


@dataclass
class Card:
    lang: str
    country: str
    script: str
    name: str = ""
    name_caps: str = ""          # "", "upper", "small"
    name_reading: str = ""       # furigana over a Japanese name
    name_latin: str = ""         # a romanised name printed beside the name
    company: str = ""            # as printed (a wordmark in capitals when wordmark)
    company_legal: str = ""      # the legal name in small print under a wordmark
    company_latin: str = ""      # an English company line on an Asian card
    wordmark: bool = False
    company_base: str = ""
    company_english: str = ""
    title: str = ""
    department: str = ""
    role_lines: list = field(default_factory=list)
    address: list = field(default_factory=list)
    postal: str = ""
    postal_line: str = ""        # a postal code printed on its own labelled line (Chinese cards)
    postal_mark: str = ""        # "〒" before a Japanese postal code, or nothing
    country_near_name: str = ""
    rows: list = field(default_factory=list)
    label_mode: str = "word"     # word, letter, icon, glyph, none
    pair_numbers: bool = False   # phone and fax on one line
    email_url_line: bool = False  # e-mail and web address on one line
    fields: dict = field(default_factory=dict)
    also: dict = field(default_factory=dict)

    def accept(self, key, value):
        if value and value != self.fields.get(key) and value not in self.also.get(key, []):
            self.also.setdefault(key, []).append(value)

    def row(self, kind):
        return next((r for r in self.rows if r.kind == kind), None)


def ascii_fold(text):
    return "".join(c for c in unicodedata.normalize("NFKD", text) if not unicodedata.combining(c))


def slug(text):
    out = []
    for ch in ascii_fold(text.lower()):
        ch = RU_LATIN.get(ch, ch)
        out.append(ch if ch.isalnum() or ch == "-" else "-" if ch in " &'." else "")
    return "-".join(p for p in "".join(out).split("-") if p)


def _pick_weighted(rng, pairs):
    r, acc = rng.random(), 0.0
    for value, w in pairs:
        acc += w
        if r < acc:
            return value
    return pairs[-1][0]


def _split(entry):
    return entry.split("|")


# ---------------------------------------------------------------------------------------------
# People

def _latin_person(rng, card, w):
    given, sex = _split(rng.choice(w["given"]))
    family = rng.choice(w["family"])
    if card.lang == "es" and rng.random() < 0.5:
        family = "%s %s" % (family, rng.choice([f for f in w["family"] if f != family]))
    if card.lang == "pt" and rng.random() < 0.35:
        family = "%s %s" % (rng.choice([f for f in w["family"] if f != family]), family)
    name = "%s %s" % (given, family)
    if card.country == "us" and rng.random() < 0.25:
        name = "%s %s. %s" % (given, rng.choice("ABCDEFGHJKLMNPRSTW"), family)
    if card.lang in ("en", "de") and rng.random() < 0.08:
        name = "Dr. " + name
    return name, given, family, sex


def _russian_person(rng, card, w):
    given, sex = _split(rng.choice(w["given"]))
    family = rng.choice(w["family"])
    patronymic = _split(rng.choice(w["patronymics"]))[0 if sex == "m" else 1]
    if sex == "f":
        family = family[:-2] + "ая" if family.endswith("ий") else family + "а"
    form = rng.random()
    if form < 0.4:
        name = "%s %s" % (given, family)
    elif form < 0.75:
        name = "%s %s %s" % (family, given, patronymic)
    else:
        name = "%s %s %s" % (given, patronymic, family)
    return name, given, family, sex


def _asian_person(rng, card, w):
    fam = _split(rng.choice(w["family"]))
    giv = _split(rng.choice(w["given"]))
    if card.lang == "ja":
        sep = rng.choice(["", " ", "　"])
        card.name = fam[0] + sep + giv[0]
        if rng.random() < 0.3:
            reading = fam[1] + rng.choice([" ", "　"]) + giv[1]
            card.name_reading = reading if rng.random() < 0.6 else _to_katakana(reading)
        roman = (fam[2], giv[2])
        sex = giv[3] if len(giv) > 3 else "m"
    else:
        card.name = fam[0] + giv[0]
        roman = (fam[1], giv[1])
        sex = giv[2] if len(giv) > 2 else "m"
    latin = rng.choice(["%s %s" % (roman[1], roman[0]), "%s %s" % (roman[0].upper(), roman[1]),
                        "%s %s" % (roman[0], roman[1])])
    if rng.random() < 0.4:
        card.name_latin = latin
    return roman[1], roman[0], sex


def _to_katakana(text):
    return "".join(chr(ord(c) + 0x60) if "\u3041" <= c <= "\u3096" else c for c in text)


# ---------------------------------------------------------------------------------------------
# Companies and roles

def _latin_company(rng, card, w):
    base = rng.choice(w["companies"])
    legal = rng.choice(w["legal"]) if w.get("legal") and rng.random() < 0.75 else ""
    if card.lang == "ru":
        full = legal.format(base) if legal else base
    else:
        full = "%s %s" % (base, legal) if legal else base
    if rng.random() < 0.3:
        card.wordmark = True
        plain = base.strip("«»")
        card.company = plain.upper() if rng.random() < 0.75 else plain
        if legal and rng.random() < 0.7:
            card.company_legal = full
    else:
        card.company = full
    return slug(base.replace("«", "").replace("»", ""))


def _asian_company(rng, card, w):
    base, domain, english = _split(rng.choice(w["companies"]))
    card.company_base = base
    form = rng.choice(w["legal"])
    card.company = form.format(base)
    if rng.random() < 0.35:
        card.company_latin = english + rng.choice(w.get("legal_latin", [""]))
    card.company_english = english + rng.choice(w.get("legal_latin", [""]))
    return domain


def _role(rng, card, w, sex):
    title = _split(rng.choice(w["titles"]))
    card.title = title[1] if sex == "f" and len(title) > 1 else title[0]
    if rng.random() < 0.65:
        card.department = rng.choice(w["departments"])
    if not card.department:
        card.role_lines = [card.title]
    elif card.script in ("japanese", "chinese", "korean"):
        sep = " " if card.script == "korean" else rng.choice([" ", "　", ""])
        card.role_lines = ([card.department + sep + card.title] if rng.random() < 0.5
                           else [card.department, card.title])
    elif rng.random() < 0.4:
        a, b = (card.title, card.department) if rng.random() < 0.7 else (card.department, card.title)
        card.role_lines = [a + rng.choice([" | ", ", ", " – ", " · "]) + b]
    else:
        card.role_lines = [card.title, card.department]


# ---------------------------------------------------------------------------------------------
# Addresses

def _asian_address(rng, card, w):
    place = _split(rng.choice(w["places"][card.country]))
    building = rng.choice(w["buildings"]) if rng.random() < 0.6 else ""
    if card.country == "jp":
        pref, town, code, area = place[:4]
        num = rng.choice(["%d-%d-%d" % (rng.randrange(1, 9), rng.randrange(1, 30), rng.randrange(1, 30)),
                          "%d-%d" % (rng.randrange(1, 9), rng.randrange(1, 40))])
        line = (pref if rng.random() < 0.6 else "") + town + num
        lines = [line]
        if building:
            floor = rng.choice(["%dF" % rng.randrange(2, 30), "%d階" % rng.randrange(2, 30), " %d号室" % rng.randrange(101, 1500)])
            lines.append(building + floor.strip())
        card.address = lines
        card.postal = code
        card.postal_mark = rng.choice(["〒", "〒", "〒", ""])
        return area
    if card.country == "kr":
        city, district, road, code, area = place[:5]
        num = str(rng.randrange(1, 400))
        line = "%s %s %s %s" % (city, district, road, num)
        floor = "%d층" % rng.randrange(2, 30)
        lines = [line + ", " + (building + " " if building else "") + floor] if rng.random() < 0.5 else [line, (building + " " if building else "") + floor]
        if rng.random() < 0.6:
            lines[0] = "(%s) %s" % (code, lines[0])
        else:
            code = ""
        card.address = lines
        card.postal = code
        return area
    city, district, road, code, area = place[:5]
    num = "%d号" % rng.randrange(1, 900) if card.country == "cn" else (
        "%d號" % rng.randrange(1, 300) if card.country == "tw" else "%d號" % rng.randrange(1, 300))
    floor = rng.choice(["%d层" % rng.randrange(2, 40), "%d楼" % rng.randrange(2, 40), "%d室" % rng.randrange(101, 3500)]
                       ) if card.country == "cn" else rng.choice(["%d樓" % rng.randrange(2, 40), "%d樓之%d" % (rng.randrange(2, 20), rng.randrange(1, 9))])
    line = city + district + road + num
    lines = [line + (building if building else "") + floor] if rng.random() < 0.6 else [line, (building or "") + floor]
    if card.country == "cn" and rng.random() < 0.45:
        card.postal_line = code
    elif card.country == "tw" and code and rng.random() < 0.7:
        lines[0] = code + rng.choice(["", " "]) + lines[0]
    else:
        code = ""
    card.address = lines
    card.postal = code
    return area


def _western_address(rng, card, w):
    place = rng.choice(w["places"][card.country])
    street = rng.choice(w["streets"][card.country])
    if card.country in ("uk", "us", "au"):
        lines, code = addresses.anglo(rng, card.country, place, street)
    else:
        lines, code = addresses.continental(rng, card.country, place, street)
    parts = _split(place)
    area = parts[-1] if card.country not in ("it", "br") else parts[2] if card.country == "it" else parts[3]
    if rng.random() < 0.25:
        lines = [", ".join(l.rstrip(",") for l in lines)]
    if rng.random() < 0.2:
        country = addresses.country_line(rng, card.country)
        if rng.random() < 0.35:
            card.country_near_name = country
        elif country:
            lines.append(country) if len(lines) > 1 else lines.__setitem__(0, lines[0] + ", " + country)
    card.address = lines
    card.postal = code
    return area


# ---------------------------------------------------------------------------------------------
# Numbers, e-mail, web

def _local_part(rng, given, family):
    g, f = slug(given).replace("-", ""), slug(family).replace("-", "")
    return rng.choice(["%s.%s" % (g, f), "%s.%s" % (g[0], f), "%s%s" % (g[0], f), g, f, "%s-%s" % (g, f), "%s_%s" % (f, g[0])])


def _contacts(rng, card, area, domain, given, family):
    country, lang = card.country, card.lang
    cjk = card.script in ("japanese", "chinese", "korean")
    office = phones.number(rng, country, area)
    rows = []
    if rng.random() < 0.88:
        value = office
        if rng.random() < 0.14:
            value = office + " " + rng.choice(labels.EXTENSION[lang]).format(rng.randrange(10, 999))
            card.accept("phone", office)
        rows.append(Row("phone", value))
        if card.script != "korean" and rng.random() < 0.15:
            rows.append(Row("direct", phones.fax_like(rng, office)))
    if rng.random() < (0.6 if not rows else 0.55):
        rows.append(Row("mobile", phones.number(rng, country, area, mobile=True)))
    if not rows:
        rows.append(Row("phone", office))
    if rng.random() < (0.5 if cjk else 0.28) and any(r.kind == "phone" for r in rows):
        rows.append(Row("fax", phones.fax_like(rng, office)))
    tld = rng.choice(TLDS[country])
    if rng.random() < 0.92:
        rows.append(Row("email", "%s@%s%s" % (_local_part(rng, given, family), domain, tld)))
    if rng.random() < 0.7:
        host = domain + tld
        rows.append(Row("url", rng.choice(["www." + host, host, "https://www." + host, "https://" + host, "http://www." + host + "/"])))
    if rng.random() < 0.2 and not cjk:
        handle = slug(given + " " + family)
        rows.append(Row("social", rng.choice(["linkedin.com/in/" + handle, "@" + handle.replace("-", ""),
                                              "in/" + handle])))
    card.rows = rows


def _label_rows(rng, card):
    lang = card.lang
    cjk = lang in labels.CJK_LABEL_LANGS
    r = rng.random()
    if cjk:
        mode = "word" if r < 0.7 else "letter" if r < 0.8 else "icon"
    else:
        mode = "word" if r < 0.42 else "letter" if r < 0.62 else "icon" if r < 0.74 else "glyph" if r < 0.86 else "none"
    kinds = {r.kind for r in card.rows}
    # With no labels a reader tells numbers apart only by their form: keep one office number and
    # one mobile, as such cards do.
    if mode == "none" and ("fax" in kinds or "direct" in kinds):
        mode = "word"
    card.label_mode = mode
    words = labels.WORDS[lang]
    choice = {k: rng.choice(v) for k, v in words.items()}
    pick = rng.random()
    for row in card.rows:
        if row.kind == "social":
            row.icon = "o-web" if mode in ("icon", "glyph") and rng.random() < 0.3 else ""
            continue
        if mode == "word":
            label = choice[row.kind]
            row.label = label + labels.separator(pick, lang, label)
        elif mode == "letter":
            letter = labels.LETTER[row.kind]
            row.label = letter + labels.separator(pick, lang, letter)
            if row.kind in ("email", "url") and rng.random() < 0.5:
                row.label = ""
        elif mode == "icon":
            row.icon = labels.LETTER_ICON[row.kind] if rng.random() < 0.6 else labels.GLYPH_ICON[row.kind]
        elif mode == "glyph":
            row.icon = "o-" + labels.GLYPH_ICON[row.kind]
    kinds = [r.kind for r in card.rows]
    card.pair_numbers = mode in ("word", "letter") and "phone" in kinds and "fax" in kinds and rng.random() < 0.3
    card.email_url_line = "email" in kinds and "url" in kinds and rng.random() < 0.15


# ---------------------------------------------------------------------------------------------

def make(rng, lang, words, layout):
    """The content of one card of a language, fitted to what its layout shows."""
    script, countries = LANGS[lang]
    card = Card(lang=lang, country=_pick_weighted(rng, countries), script=script)
    w = words[lang]
    if script in ("latin", "cyrillic"):
        person = _russian_person if lang == "ru" else _latin_person
        card.name, given, family, sex = person(rng, card, w)
        r = rng.random()
        card.name_caps = "upper" if r < 0.18 else "small" if r < 0.3 else ""
        domain = _latin_company(rng, card, w)
        area = _western_address(rng, card, w)
    else:
        given, family, sex = _asian_person(rng, card, w)
        domain = _asian_company(rng, card, w)
        area = _asian_address(rng, card, w)
    if layout == "smallcaps-center" and rng.random() < 0.65:
        card.name_caps = "small"
    if layout == "cjk-bilingual":
        card.name_latin = card.name_latin or "%s %s" % (given, family)
        card.company_latin = card.company_latin or card.company_english
    _role(rng, card, w, sex)
    if rng.random() < 0.06:
        card.address, card.postal, card.postal_line = [], "", ""
    _contacts(rng, card, area, domain, given, family)
    _label_rows(rng, card)
    if layout == "icon-column" and card.label_mode in ("word", "none") and rng.random() < 0.7:
        card.label_mode = "icon"
        for row in card.rows:
            row.label, row.icon = "", labels.LETTER_ICON.get(row.kind, "") if rng.random() < 0.5 else labels.GLYPH_ICON.get(row.kind, "")
    _truth(card)
    return card


def _truth(card):
    f = card.fields
    name = card.name
    if card.name_caps == "upper":
        name = name.upper()
        card.accept("name", card.name)
    elif card.name_caps == "small":
        card.accept("name", card.name.upper())
    f["name"] = name
    if card.name_reading:
        f["name_reading"] = card.name_reading
    card.accept("name", card.name_latin)
    f["company"] = card.company
    card.accept("company", card.company_legal)
    card.accept("company", card.company_latin)
    if card.department:
        f["department"] = card.department
    f["title"] = card.title
    if card.postal:
        f["postal_code"] = card.postal
    if card.address:
        f["address"] = " ".join(card.address)
    for row in card.rows:
        if row.kind == "direct":
            if "phone" in f:
                card.accept("phone", row.value)
            else:
                f["phone"] = row.value
        elif row.kind != "social" and row.kind not in f:
            f[row.kind] = row.value
    # The extension variant was accepted before the printed value was known: keep it an alternative.
    if "phone" in card.also and f.get("phone") in card.also["phone"]:
        card.also["phone"].remove(f["phone"])
        if not card.also["phone"]:
            del card.also["phone"]
