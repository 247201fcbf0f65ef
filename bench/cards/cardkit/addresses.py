"""Postal addresses in each country's own order: a list of printed lines (reading order) and the
postal code printed in them. Places come from the word lists as "town|code|area…" entries."""

COUNTRY_LINE = {
    "uk": ["United Kingdom", "UK"], "us": ["USA", "United States"], "au": ["Australia"],
    "de": ["Deutschland", "Germany"], "fr": ["France"], "es": ["España", "Spain"], "it": ["Italia", "Italy"],
    "pt": ["Portugal"], "br": ["Brasil", "Brazil"], "ru": ["Россия"], "kr": ["Korea", "Republic of Korea"],
}
FLOORS = {"uk": ["Floor {n}", "{o} Floor", "Suite {s}", "Unit {n}"], "us": ["Suite {s}", "Floor {n}", "Ste {s}"],
          "au": ["Level {n}", "Suite {s}", "Unit {n}"]}
ORDINALS = ["1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th"]


def _floor(rng, country):
    n = rng.randrange(1, 9)
    return rng.choice(FLOORS[country]).format(n=n, o=ORDINALS[n - 1], s=str(n) + "%02d" % rng.randrange(1, 40))


def anglo(rng, country, place, street):
    parts = place.split("|")
    num = str(rng.choice([rng.randrange(1, 60), rng.randrange(60, 400), rng.randrange(400, 2400)])
              if country == "us" else rng.randrange(1, 260))
    if country == "us":
        town, state, code = parts[0], parts[1], parts[2]
        lines = ["%s %s" % (num, street)]
        if rng.random() < 0.4:
            lines[0] += ", " + _floor(rng, country)
        lines.append("%s, %s %s" % (town, state, code))
    elif country == "au":
        town, state, code = parts[0], parts[1], parts[2]
        if rng.random() < 0.2:
            lines = ["PO Box %d" % rng.randrange(100, 9999)]
        else:
            lines = ["%s %s" % (num, street)]
            if rng.random() < 0.5:
                lines.insert(0, _floor(rng, country))
        lines.append("%s %s %s" % (town, state, code))
    else:
        town, code = parts[0], parts[1]
        lines = ["%s %s" % (num, street)]
        if rng.random() < 0.35:
            lines.insert(0, _floor(rng, country))
        lines.append("%s %s" % (town, code) if rng.random() < 0.7 else town)
        if not lines[-1].endswith(code):
            lines.append(code)
    return lines, code


def continental(rng, country, place, street):
    parts = place.split("|")
    town, code = parts[0], parts[1]
    num = str(rng.randrange(1, 180))
    if country == "de":
        if rng.random() < 0.15:
            box = "Postfach %d %02d %02d" % (rng.randrange(10, 99), rng.randrange(100), rng.randrange(100))
            return [box, "%s %s" % (code, town)], code
        return ["%s %s" % (street, num), "%s %s" % (code, town)], code
    if country == "fr":
        first = "%s %s" % (num, street) if rng.random() < 0.75 else "%s, %s" % (num, street)
        lines = [first]
        if rng.random() < 0.25:
            lines.append(rng.choice(["Bâtiment B", "CS %d" % rng.randrange(10000, 99999), "BP %d" % rng.randrange(10, 999),
                                     "%de étage" % rng.randrange(2, 9)]))
        lines.append("%s %s" % (code, town.upper() if rng.random() < 0.3 else town))
        return lines, code
    if country == "es":
        extra = rng.choice(["", ", %dº" % rng.randrange(1, 9), ", %dº %s" % (rng.randrange(1, 9), rng.choice("ABCD")),
                            ", planta %d" % rng.randrange(1, 12)])
        return ["%s, %s%s" % (street, num, extra), "%s %s" % (code, town)], code
    if country == "it":
        prov = parts[3] if len(parts) > 3 else ""
        first = "%s %s" % (street, num) if rng.random() < 0.6 else "%s, %s" % (street, num)
        last = "%s %s" % (code, town) + (" %s" % prov if prov and rng.random() < 0.6 else "")
        if prov and rng.random() < 0.2:
            last = "%s %s (%s)" % (code, town, prov)
        return [first, last], code
    if country == "pt":
        extra = rng.choice(["", ", %d.º" % rng.randrange(1, 9), ", %d.º Esq." % rng.randrange(1, 9),
                            ", %d.º Dto." % rng.randrange(1, 9)])
        return ["%s, %s%s" % (street, num, extra), "%s %s" % (code, town)], code
    if country == "br":
        state = parts[2]
        extra = rng.choice(["", " – %dº andar" % rng.randrange(1, 25), ", conj. %d" % rng.randrange(11, 199),
                            ", sala %d" % rng.randrange(101, 1999)])
        district = parts[4] if len(parts) > 4 else ""
        lines = ["%s, %s%s" % (street, num, extra)]
        if district and rng.random() < 0.6:
            lines.append(district)
        lines.append(rng.choice(["%s – %s" % (town, state), "%s/%s" % (town, state)]))
        lines.append(rng.choice(["CEP %s" % code, code]))
        if lines[-1] == code and rng.random() < 0.5:
            lines = lines[:-2] + ["%s %s – %s" % (code, town, state)]
        return lines, code
    if country == "ru":
        house = "д. %d" % rng.randrange(1, 60)
        extra = rng.choice(["", ", стр. %d" % rng.randrange(1, 5), ", корп. %d" % rng.randrange(1, 4)])
        office = rng.choice(["", ", офис %d" % rng.randrange(101, 950), ", оф. %d" % rng.randrange(1, 50)])
        first = "%s, %s%s%s" % (street, house, extra, office)
        if rng.random() < 0.5:
            return ["%s, г. %s," % (code, town), first], code
        return [first, "%s %s" % (code, town)], code
    raise ValueError(country)


def country_line(rng, country):
    return rng.choice(COUNTRY_LINE[country]) if country in COUNTRY_LINE else ""
