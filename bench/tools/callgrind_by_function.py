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

FAKE = re.compile(r"^(fakeal::|fakewin::|fakegl::|gameharness::|al[A-Z]|alc[A-Z]|wl[A-Z]|gl[A-Z])")


def own_costs(path):
    """Exclusive cost by (object, function)."""
    names = {}
    totals = defaultdict(int)
    obj = "???"
    fn = ""
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
                obj = resolve(line[3:])
            elif line.startswith("fn="):
                fn = resolve(line[3:])
            elif line.startswith(("cfn=", "cob=", "cfi=", "cfl=")):
                resolve(line[4:])
            elif line.startswith("calls="):
                after_calls = True
            elif line and (line[0].isdigit() or line[0] in "+-*"):
                if after_calls:  # a call's inclusive cost belongs to the callee
                    after_calls = False
                    continue
                parts = line.split()
                if len(parts) >= 2:
                    totals[(obj, fn)] += int(parts[-1])
    return totals


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
