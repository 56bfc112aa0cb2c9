#!/usr/bin/env python3
"""Instructions per item from a callgrind profile, split into where they go:
the game (bb_Vaultwick_MyApp), the framework (the rest of our code), the test
platform (the fake window, GL and AL that stand in for the real ones), and the
C and C++ libraries; then the functions that cost most by their own
(exclusive) count.

    callgrind_by_function.py callgrind.out ITEMS [TOP]

ITEMS divides every count (updates counted, say); TOP functions are listed
(default 25).
"""
import re
import sys
from collections import defaultdict

from callgrind_profile import own_costs

FAKE = re.compile(r"^(fakeal::|fakewin::|fakegl::|gameharness::|al[A-Z]|alc[A-Z]|wl[A-Z]|gl[A-Z])")


def group(obj, fn):
    if not obj.startswith("/") or ".so" not in obj:
        if FAKE.match(fn):
            return "test platform (fakes)"
        if "bb_Vaultwick_MyApp" in fn:
            return "game"
        return "framework"
    if "libc." in obj or "ld-linux" in obj or "libm." in obj:
        return "C library"
    if "libstdc++" in obj:
        return "C++ library"
    return obj.rsplit("/", 1)[-1]


def main():
    totals = own_costs(sys.argv[1])
    items = float(sys.argv[2])
    top = int(sys.argv[3]) if len(sys.argv) > 3 else 25
    groups = defaultdict(int)
    for (obj, fn), cost in totals.items():
        groups[group(obj, fn)] += cost
    grand = sum(groups.values())
    ours = grand - groups.get("test platform (fakes)", 0)
    print("%12.0f per item  total" % (grand / items))
    print("%12.0f per item  all but the test platform" % (ours / items))
    for name, cost in sorted(groups.items(), key=lambda kv: -kv[1]):
        print("%12.0f per item  %5.1f%%  %s" % (cost / items, 100.0 * cost / grand, name))
    print("functions by their own count:")
    for (obj, fn), cost in sorted(totals.items(), key=lambda kv: -kv[1])[:top]:
        print("%12.0f per item  %5.1f%%  %s" % (cost / items, 100.0 * cost / grand, fn[:110]))


if __name__ == "__main__":
    main()
