#!/usr/bin/env python3
"""Sums a callgrind profile's own (exclusive) instruction counts by the binary
the code belongs to: the benchmark executable, each shared library, and "???"
for code generated at run time (Mesa's compiled shaders). Within the
executable, functions of the benchmark itself (namespace renderbench) are
counted apart from the framework's.

    callgrind_by_object.py callgrind.out [divisor]

With a divisor (the number of sprites drawn, say), each sum is also printed
divided by it.
"""
import re
import sys
from collections import defaultdict


def own_costs(path):
    names = {}
    totals = defaultdict(int)
    current = "???"
    function = ""
    after_calls = False

    def resolve(value):
        m = re.match(r"\((\d+)\)(?: (.*))?", value)
        if not m:
            return value
        if m.group(2) is not None:
            names[m.group(1)] = m.group(2)
        return names.get(m.group(1), value)

    with open(path) as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("ob="):
                current = resolve(line[3:])
                continue
            if line.startswith("fn="):
                function = resolve(line[3:])
                continue
            if line.startswith("cfn="):
                resolve(line[4:])
                continue
            if line.startswith("cob="):
                resolve(line[4:])  # registers the name for later use
                continue
            if line.startswith("calls="):
                after_calls = True
                continue
            if not line or not (line[0].isdigit() or line[0] in "+-*"):
                continue
            if after_calls:  # the inclusive cost of a call belongs to the callee
                after_calls = False
                continue
            parts = line.split()
            if len(parts) >= 2:
                key = current
                if function.startswith("renderbench::"):
                    key = current + " (the benchmark's own loop)"
                totals[key] += int(parts[-1])
    return totals


def main():
    totals = own_costs(sys.argv[1])
    divisor = float(sys.argv[2]) if len(sys.argv) > 2 else None
    grand = sum(totals.values())
    for obj, cost in sorted(totals.items(), key=lambda kv: -kv[1]):
        share = 100.0 * cost / grand if grand else 0
        per = "  %10.1f per item" % (cost / divisor) if divisor else ""
        print("%14d %5.1f%%%s  %s" % (cost, share, per, obj))
    per = "  %10.1f per item" % (grand / divisor) if divisor else ""
    print("%14d 100.0%%%s  total" % (grand, per))


if __name__ == "__main__":
    main()
