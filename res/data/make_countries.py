#!/usr/bin/env python3
"""Writes countries.crv, the program's country table, from the ISO 3166-1 list.

One country per line: the two-letter code, a TAB, the English name; 8-bit
text (one byte per character, ISO 8859-1) with CR LF line ends. The line
position is the country's index everywhere in the program, so the order is
the order of the source list, never sorted here.

    make_countries.py ISO_3166_1_JSON OUTPUT      write the table
    make_countries.py --codes ISO_3166_1_JSON     print the codes, ';'-separated
"""
import json
import os
import sys
import unicodedata

MAX_NAME = 63  # the table's name field holds 63 characters


def latin1_name(name):
    """The name as ISO 8859-1 text of at most 63 characters."""
    try:
        name.encode("latin-1")
    except UnicodeEncodeError:
        # Drop accents the 8-bit file cannot hold; keep the base letters.
        decomposed = unicodedata.normalize("NFKD", name)
        name = "".join(c for c in decomposed if not unicodedata.combining(c))
        name = name.encode("latin-1", "replace").decode("latin-1")
    name = name.replace("\t", " ").replace("\r", " ").replace("\n", " ")
    return name[:MAX_NAME]


def load_countries(path):
    with open(path, encoding="utf-8") as f:
        entries = json.load(f)["3166-1"]
    countries = []
    for entry in entries:
        code = entry["alpha_2"]
        if len(code) != 2 or not code.isascii() or not code.isalpha():
            raise SystemExit("unexpected country code %r in %s" % (code, path))
        countries.append((code, latin1_name(entry["name"])))
    return countries


def main(argv):
    if len(argv) == 3 and argv[1] == "--codes":
        sys.stdout.write(";".join(code for code, _ in load_countries(argv[2])))
        return 0
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    countries = load_countries(argv[1])
    data = b"".join(("%s\t%s\r\n" % (code, name)).encode("latin-1")
                    for code, name in countries)
    # Write through a temporary file so an interrupted build never leaves a
    # half table that looks complete.
    tmp = argv[2] + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
