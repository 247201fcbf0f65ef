"""Word lists (names, companies, titles, departments, places, streets) per language: a folder of
LANG.json files, or one JSON file holding them all under their language."""
import json
import os

KEYS = {"given", "family", "companies", "titles", "departments", "places"}


def load(path):
    if os.path.isdir(path):
        lists = {}
        for name in sorted(os.listdir(path)):
            if name.endswith(".json"):
                with open(os.path.join(path, name), encoding="utf-8") as f:
                    lists[name[:-5]] = json.load(f)
    else:
        with open(path, encoding="utf-8") as f:
            lists = json.load(f)
    for lang, w in lists.items():
        missing = KEYS - set(w)
        if missing:
            raise SystemExit("%s: the %s lists lack %s" % (path, lang, ", ".join(sorted(missing))))
    return lists
