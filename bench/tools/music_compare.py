#!/usr/bin/env python3
"""Side-by-side runs for music_compare.sh (under tests/with-display.sh):

    music_compare.py TODAY_BUILD OUR_BUILD DATA RUNS SECONDS OUT.md

Each run takes the build without music, then ours, in turn, with DATA as
their data/:
  - vw_bench's game-update benchmark of the menu and the busiest rounds, for
    the worst update and, in ours, the music fed after each update;
  - real_game.py for SECONDS at the menu and SECONDS in a round: start to the
    end of loading, update lateness, peak memory (VmHWM).
The table gives each figure's median and worst over the runs.
"""
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCENES = ["menu", "round-mode7", "round-mode9", "round-mode10"]
SIDES = ["today", "ours"]


def update_bench(build, data):
    """{scene: {counter: value}} from one vw_bench run."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run([os.path.join(build, "bench", "vw_bench"),
                        "--benchmark_filter=BM_GameUpdate/(%s)/" % "|".join(SCENES),
                        "--benchmark_out=" + out.name, "--benchmark_out_format=json"],
                       cwd=build, env=dict(os.environ, VW_DATA_DIR=data), check=True,
                       stdout=subprocess.DEVNULL)
        results = json.load(open(out.name))["benchmarks"]
    return {r["name"].split("/")[1]: r for r in results}


def real_game(build, data, seconds):
    """{figure: text} from one real_game.py run."""
    with tempfile.NamedTemporaryFile(suffix=".md") as out:
        subprocess.run([sys.executable, os.path.join(REPO, "bench", "tools", "real_game.py"),
                        os.path.join(build, "vaultwick"), out.name, str(seconds)],
                       env=dict(os.environ, VW_DATA_DIR=data), check=True, stdout=subprocess.DEVNULL)
        rows = {}
        for line in open(out.name):
            cells = [c.strip() for c in line.strip().strip("|").split("|")]
            if len(cells) == 3:
                rows[cells[0]] = cells[1]
    return rows


def number(text, index=0):
    return float(re.findall(r"[0-9.]+", text)[index])


def main():
    builds = dict(zip(SIDES, sys.argv[1:3]))
    data, runs, seconds, out = sys.argv[3], int(sys.argv[4]), float(sys.argv[5]), sys.argv[6]
    figures = {side: {} for side in SIDES}

    def note(side, name, value):
        figures[side].setdefault(name, []).append(value)

    load = open("/proc/loadavg").read().split()[:3]
    for run in range(runs):
        for side in SIDES:
            print("run %d, %s" % (run + 1, side), flush=True)
            bench = update_bench(builds[side], data)
            for scene in SCENES:
                b = bench[scene]
                note(side, scene + ": mean update (us)", b["real_time"])
                note(side, scene + ": worst update, wall time (us)", b["worst_us"])
                note(side, scene + ": worst update, the thread's CPU time (us)", b["cpu_worst_us"])
                if side == "ours":
                    note(side, scene + ": music fed after an update, mean (us)", b["feed_mean_us"])
                    note(side, scene + ": music fed after an update, worst wall time (us)", b["feed_worst_us"])
                    note(side, scene + ": music fed after an update, worst CPU time (us)", b["feed_cpu_worst_us"])
            rows = real_game(builds[side], data, seconds)
            note(side, "real game: start to the end of loading (ms)",
                 number(rows["Start to the end of loading (menu up)"]))
            for stretch in ("menu", "round"):
                note(side, "real game, %s: update start after it was due, worst (ms)" % stretch,
                     number(rows["%s: update start after it was due, worst" % stretch]))
            note(side, "real game: peak memory, VmHWM (MiB)",
                 number(rows["Peak memory (VmHWM) / resident at the end"]))
    write(figures, runs, load, out)


def cell(values):
    return "%.1f / %.1f" % (statistics.median(values), max(values)) if values else "-"


def write(figures, runs, load, out):
    after = open("/proc/loadavg").read().split()[:3]
    with open(out, "w") as f:
        f.write("%d runs of each, alternating; median / worst over the runs. Load before / after: %s / %s\n\n"
                % (runs, " ".join(load), " ".join(after)))
        f.write("| figure | without music | with music | difference of the worst |\n|---|---|---|---|\n")
        for name in figures["ours"]:
            today, ours = figures["today"].get(name, []), figures["ours"][name]
            diff = "%+.1f" % (max(ours) - max(today)) if today else "-"
            f.write("| %s | %s | %s | %s |\n" % (name, cell(today), cell(ours), diff))
    print(open(out).read())


if __name__ == "__main__":
    main()
