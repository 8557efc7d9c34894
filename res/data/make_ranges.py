#!/usr/bin/env python3
"""Writes countryranges.crv, the IPv4 address ranges of the country table.

Input: the numeric IPv4 range list (first,last,code per line, ascending by
first address) and countries.crv. Output: one range per line, the first and
the last address in dotted form and the two-letter code, TAB-separated, 8-bit
text with CR LF line ends, ascending and without overlaps. A smaller range
inside a larger one takes its addresses from it (of two that overlap, the
one that starts later); neighbouring ranges of one
country become one; codes the country table does not hold are left out.

    make_ranges.py RANGES_CSV COUNTRIES_CRV OUTPUT
"""
import csv
import os
import sys


def dotted(n):
    return "%d.%d.%d.%d" % (n >> 24, (n >> 16) & 255, (n >> 8) & 255, n & 255)


def load_codes(path):
    codes = set()
    with open(path, "rb") as f:
        for line in f.read().decode("latin-1").splitlines():
            if not line:
                break
            codes.add(line.split("\t", 1)[0])
    return codes


def load_rows(path):
    rows = []
    with open(path, newline="", encoding="ascii") as f:
        for record in csv.reader(f):
            if len(record) != 3:
                raise SystemExit("unexpected line %r in %s" % (record, path))
            first, last, code = int(record[0]), int(record[1]), record[2].strip()
            if not (0 <= first <= last <= 0xFFFFFFFF):
                raise SystemExit("bad range %r in %s" % (record, path))
            rows.append((first, last, code))
    # Equal starts: the larger range first, so the smaller one lies inside.
    rows.sort(key=lambda r: (r[0], -r[1]))
    return rows


def flatten(rows):
    """Disjoint pieces, ascending; where two ranges overlap, the one that
    comes later in the sorted rows (the inner one, or the one that starts
    later) takes the common addresses."""
    out = []
    for first, last, code in rows:
        tail = []
        while out and out[-1][1] >= first:
            tail.append(out.pop())
        tail.reverse()
        lefts = [[p[0], min(p[1], first - 1), p[2]] for p in tail if p[0] < first]
        rights = [[max(p[0], last + 1), p[1], p[2]] for p in tail if p[1] > last]
        out.extend(lefts)
        out.append([first, last, code])
        out.extend(rights)
    return out


def merge(pieces, codes):
    merged = []
    for first, last, code in pieces:
        if code not in codes:
            continue
        if merged and merged[-1][2] == code and merged[-1][1] + 1 == first:
            merged[-1][1] = last
        else:
            merged.append([first, last, code])
    for prev, cur in zip(merged, merged[1:]):
        if cur[0] <= prev[1]:
            raise SystemExit("overlapping ranges remain at %s" % dotted(cur[0]))
    return merged


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    ranges = merge(flatten(load_rows(argv[1])), load_codes(argv[2]))
    data = "".join("%s\t%s\t%s\r\n" % (dotted(a), dotted(b), c) for a, b, c in ranges)
    tmp = argv[3] + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data.encode("latin-1"))
    os.replace(tmp, argv[3])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
