"""Reads a callgrind profile into own (exclusive) instruction counts by the
binary and function they were spent in; shared by the callgrind_by_* tools.

Callgrind compresses names: the first mention is "(N) name", later ones just
"(N)", and objects, files and functions are numbered apart, so each keeps
its own table.
"""
import re
from collections import defaultdict

# Which numbering a line's name belongs to, by its key.
TABLES = {"ob": "ob", "cob": "ob", "fn": "fn", "cfn": "fn",
          "fl": "fl", "fi": "fl", "fe": "fl", "cfi": "fl", "cfl": "fl"}


def own_costs(path):
    """{(object, function): exclusive cost} of the profile at path."""
    names = {table: {} for table in set(TABLES.values())}
    totals = defaultdict(int)
    obj, fn = "???", ""
    after_calls = False

    def resolve(table, value):
        m = re.match(r"\((\d+)\)(?: (.*))?", value)
        if not m:
            return value
        if m.group(2) is not None:
            names[table][m.group(1)] = m.group(2)
        return names[table].get(m.group(1), value)

    with open(path) as f:
        for line in f:
            line = line.rstrip("\n")
            key, eq, value = line.partition("=")
            if eq and key in TABLES:
                name = resolve(TABLES[key], value)
                if key == "ob":
                    obj = name
                elif key == "fn":
                    fn = name
            elif key == "calls" and eq:
                after_calls = True
            elif line and (line[0].isdigit() or line[0] in "+-*"):
                if after_calls:  # a call's inclusive cost belongs to the callee
                    after_calls = False
                    continue
                parts = line.split()
                if len(parts) >= 2:
                    totals[(obj, fn)] += int(parts[-1])
    return totals
