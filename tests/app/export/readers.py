#!/usr/bin/python3
"""Independent readers of the export files for the tests: prints what they read as JSON."""
import csv
import io
import json
import sys

import vobject


def check_folding(path, raw):
    """Every line ends in CR LF and holds at most 75 octets, as vCard 3.0 asks."""
    lines = raw.split(b"\r\n")
    if lines[-1] != b"":
        raise SystemExit(f"{path}: does not end with CR LF")
    for number, line in enumerate(lines[:-1], 1):
        if len(line) > 75 or b"\n" in line or b"\r" in line:
            raise SystemExit(f"{path}: line {number} is not folded at 75 octets: {line!r}")


def read_vcards(paths):
    cards = []
    for path in paths:
        with open(path, "rb") as f:
            raw = f.read()
        check_folding(path, raw)
        # A fold inside a UTF-8 sequence makes the file undecodable line by line.
        for line in raw.split(b"\r\n"):
            line.decode("utf-8")
        with open(path, encoding="utf-8", newline="") as f:
            for card in vobject.readComponents(f.read()):
                fields = {}
                for child in card.getChildren():
                    value = child.value
                    if child.name == "N":
                        value = [value.family, value.given, value.additional, value.prefix, value.suffix]
                    elif child.name == "ORG":
                        value = list(value)
                    elif child.name == "ADR":
                        value = [value.box, value.extended, value.street, value.city, value.region, value.code, value.country]
                    fields.setdefault(child.name, []).append(value)
                cards.append(fields)
    return cards


def read_table(path, delimiter):
    with open(path, "rb") as f:
        raw = f.read()
    if not raw.startswith(b"\xff\xfe"):
        raise SystemExit("no byte-order mark")
    text = raw[2:].decode("utf-16-le")
    if delimiter == "csv":
        return list(csv.reader(io.StringIO(text, newline="")))
    return [line.split("\t") for line in text.split("\n")[:-1]]


if __name__ == "__main__":
    kind = sys.argv[1]
    if kind == "vcard":
        result = read_vcards(sys.argv[2:])
    else:
        result = read_table(sys.argv[2], kind)
    json.dump(result, sys.stdout, ensure_ascii=False)
