"""Telephone numbers as each country prints them: office, mobile and fax numbers of one card share
the office's area code; mobiles take the country's mobile prefixes."""


def _d(rng, n):
    return "".join(str(rng.randrange(10)) for _ in range(n))


def _sub(rng, n):
    """A subscriber number: it does not start with 0 or 1."""
    return str(rng.randrange(2, 10)) + _d(rng, n - 1)


def _uk(rng, area, mobile):
    if mobile:
        body = rng.choice(["7700 9", "7911 1", "7824 3", "7459 6", "7380 2"]) + _d(rng, 5)
        form = rng.choice(["0{}", "+44 {}", "+44 (0){}"])
        return form.format(body)
    local = area.lstrip("0")
    sub = _sub(rng, 8) if len(local) == 2 else _sub(rng, 7) if len(local) == 3 else _sub(rng, 6)
    sub = "%s %s" % (sub[:4], sub[4:]) if len(sub) == 8 else "%s %s" % (sub[:3], sub[3:]) if len(sub) == 7 else sub
    form = rng.choice(["0{a} {s}", "+44 {a} {s}", "+44 (0){a} {s}"])
    return form.format(a=local, s=sub)


def _us(rng, area, mobile):
    if mobile:
        area = rng.choice(["917", "646", "415", "312", "213", "617", "206"])
    sub = "555-01" + _d(rng, 2) if rng.random() < 0.5 else _d(rng, 3) + "-" + _d(rng, 4)
    a, b = sub.split("-")
    return rng.choice(["({x}) {a}-{b}", "{x}-{a}-{b}", "{x}.{a}.{b}", "+1 {x} {a} {b}", "+1 ({x}) {a}-{b}"]).format(x=area, a=a, b=b)


def _au(rng, area, mobile):
    if mobile:
        body = "4" + _d(rng, 2) + " " + _d(rng, 3) + " " + _d(rng, 3)
        return rng.choice(["0{}", "+61 {}"]).format(body)
    sub = _sub(rng, 4) + " " + _d(rng, 4)
    return rng.choice(["({a}) {s}", "{a} {s}", "+61 {x} {s}"]).format(a=area, x=area.lstrip("0"), s=sub)


def _de(rng, area, mobile):
    if mobile:
        pre = rng.choice(["151", "152", "157", "160", "162", "170", "171", "172", "175", "176", "177"])
        sub = _d(rng, 7 if pre[1] != "5" else 8)
        return rng.choice(["0{p} {a} {b}", "0{p} / {a}{b}", "+49 {p} {a}{b}", "+49 (0){p} {a} {b}"]).format(
            p=pre, a=sub[:3], b=sub[3:])
    local = area.lstrip("0")
    sub = _sub(rng, 9 - len(local))
    return rng.choice(["0{x} {a} {b}", "0{x} / {a} {b}", "+49 {x} {a} {b}", "+49 (0){x} {s}-0", "+49 {x} {s}-{e}"]).format(
        x=local, a=sub[:3], b=sub[3:], s=sub[:-1], e=_d(rng, 2))


def _fr(rng, area, mobile):
    head = rng.choice(["6", "7"]) if mobile else area.lstrip("0")
    pairs = " ".join(_d(rng, 2) for _ in range(4))
    return rng.choice(["0{h} {p}", "+33 {h} {p}", "+33 (0){h} {p}", "0{h}.{q}"]).format(h=head, p=pairs, q=pairs.replace(" ", "."))


def _es(rng, area, mobile):
    if mobile:
        n = rng.choice(["6", "7"]) + _d(rng, 8)
    else:
        n = area + _d(rng, 9 - len(area))
    return rng.choice(["{a} {b} {c}", "+34 {a} {b} {c}", "+34 {a} {d} {e} {f}", "{a} {d} {e} {f}"]).format(
        a=n[:3], b=n[3:6], c=n[6:], d=n[3:5], e=n[5:7], f=n[7:])


def _it(rng, area, mobile):
    if mobile:
        pre = "3" + rng.choice(["33", "35", "38", "47", "48", "49", "39", "40"])
        sub = _d(rng, 7)
        return rng.choice(["{p} {a} {b}", "+39 {p} {a} {b}", "+39 {p} {s}"]).format(p=pre, a=sub[:3], b=sub[3:], s=sub)
    sub = _d(rng, 10 - len(area))
    return rng.choice(["{x} {a} {b}", "+39 {x} {a} {b}", "+39 {x} {s}", "{x} {s}"]).format(
        x=area, a=sub[:4], b=sub[4:], s=sub)


def _pt(rng, area, mobile):
    n = (rng.choice(["91", "92", "93", "96"]) + _d(rng, 7)) if mobile else area + _d(rng, 9 - len(area))
    return rng.choice(["{a} {b} {c}", "+351 {a} {b} {c}", "+351 {a}{b}{c}"]).format(a=n[:3], b=n[3:6], c=n[6:])


def _br(rng, area, mobile):
    sub = ("9" + _d(rng, 4) if mobile else rng.choice("2345") + _d(rng, 3)) + "-" + _d(rng, 4)
    return rng.choice(["({a}) {s}", "+55 {a} {s}", "+55 ({a}) {s}"]).format(a=area, s=sub)


def _ru(rng, area, mobile):
    if mobile:
        area = "9" + rng.choice(["03", "05", "15", "16", "17", "26", "85", "99"])
    s = _sub(rng, 7)
    return rng.choice(["+7 ({a}) {x}-{y}-{z}", "8 ({a}) {x}-{y}-{z}", "+7 {a} {x}-{y}-{z}", "+7 {a} {x} {y} {z}"]).format(
        a=area, x=s[:3], y=s[3:5], z=s[5:])


def _jp(rng, area, mobile):
    if mobile:
        a, b, c = rng.choice(["090", "080", "070"]), str(rng.randrange(1, 10)) + _d(rng, 3), _d(rng, 4)
        return rng.choice(["{a}-{b}-{c}", "+81 {x} {b} {c}"]).format(a=a, b=b, c=c, x=a[1:])
    n = 10 - len(area)
    sub = _sub(rng, n)
    b, c = sub[:n - 4], sub[n - 4:]
    return rng.choice(["{a}-{b}-{c}", "{a}-{b}-{c}", "+81 {x} {b} {c}", "+81-{x}-{b}-{c}"]).format(a=area, b=b, c=c, x=area[1:])


def _cn(rng, area, mobile):
    if mobile:
        n = rng.choice(["13", "15", "17", "18", "19"]) + _d(rng, 9)
        return rng.choice(["{a} {b} {c}", "+86 {a} {b} {c}", "{a}-{b}-{c}", "+86-{n}", "{n}"]).format(
            a=n[:3], b=n[3:7], c=n[7:], n=n)
    sub = _sub(rng, 8 if len(area) == 3 else 7)
    return rng.choice(["{a}-{s}", "+86 {x} {p} {q}", "({a}) {p} {q}", "+86-{x}-{s}"]).format(
        a=area, x=area[1:], s=sub, p=sub[:4], q=sub[4:])


def _tw(rng, area, mobile):
    if mobile:
        n = "09" + _d(rng, 8)
        return rng.choice(["{a}-{b}-{c}", "+886 {x} {b} {c}"]).format(a=n[:4], b=n[4:7], c=n[7:], x=n[1:4])
    sub = _sub(rng, 8 if area == "02" else 7)
    return rng.choice(["({a}) {p}-{q}", "{a}-{p}-{q}", "+886 {x} {p} {q}"]).format(
        a=area, x=area[1:], p=sub[:-4], q=sub[-4:])


def _hk(rng, area, mobile):
    n = (rng.choice("569") if mobile else rng.choice("23")) + _d(rng, 7)
    return rng.choice(["+852 {a} {b}", "{a} {b}", "(852) {a} {b}"]).format(a=n[:4], b=n[4:])


def _kr(rng, area, mobile):
    if mobile:
        s = _d(rng, 8)
        return rng.choice(["010-{a}-{b}", "+82 10 {a} {b}", "010.{a}.{b}"]).format(a=s[:4], b=s[4:])
    s = _sub(rng, 8 if area == "02" else 7)
    return rng.choice(["{x}-{a}-{b}", "+82 {y} {a} {b}", "{x}.{a}.{b}"]).format(x=area, y=area[1:], a=s[:-4], b=s[-4:])


FORMATS = {"uk": _uk, "us": _us, "au": _au, "de": _de, "fr": _fr, "es": _es, "it": _it, "pt": _pt, "br": _br,
           "ru": _ru, "jp": _jp, "cn": _cn, "tw": _tw, "hk": _hk, "kr": _kr}


def number(rng, country, area, mobile=False):
    return FORMATS[country](rng, area, mobile)


def fax_like(rng, office):
    """A fax number beside an office number: the same but for its last digits."""
    digits = [i for i, c in enumerate(office) if c.isdigit()]
    out = list(office)
    for i in digits[-2:]:
        out[i] = str(rng.randrange(10))
    return "".join(out)
