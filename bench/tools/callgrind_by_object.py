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
import sys
from collections import defaultdict

from callgrind_profile import own_costs


def by_object(path):
    """Own cost by binary, the benchmark's own loop apart."""
    totals = defaultdict(int)
    for (obj, fn), cost in own_costs(path).items():
        key = obj + " (the benchmark's own loop)" if fn.startswith("renderbench::") else obj
        totals[key] += cost
    return totals


def main():
    totals = by_object(sys.argv[1])
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
