#!/usr/bin/env python3
"""Side-by-side runs for music_compare.sh (under tests/with-display.sh):

    music_compare.py TODAY_BUILD OUR_BUILD DATA RUNS SECONDS OUT.md

Each run takes the build without music, then ours, in turn, with DATA as
their data/:
  - vw_bench's game-update benchmark of the menu and the busiest rounds, for
    the worst update and, in ours, the music fed after each update; and, in
    ours, a change of track (BM_MusicStart: the stream opened, its first feed);
  - real_game.py for SECONDS at the menu and SECONDS in a round: start to the
    end of loading (and to the menu at rest where the build marks it), update
    lateness, peak memory (VmHWM) at the menu and after the round.
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
    """{scene: {counter: value}} from one vw_bench run: the update benchmark's
    scenes, and "music-start" where the build streams music."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run([os.path.join(build, "bench", "vw_bench"),
                        "--benchmark_filter=BM_GameUpdate/(%s)/|BM_MusicStart" % "|".join(SCENES),
                        "--benchmark_out=" + out.name, "--benchmark_out_format=json"],
                       cwd=build, env=dict(os.environ, VW_DATA_DIR=data), check=True,
                       stdout=subprocess.DEVNULL)
        results = json.load(open(out.name))["benchmarks"]
    return {("music-start" if r["name"].startswith("BM_MusicStart") else r["name"].split("/")[1]): r
            for r in results}


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


def note_bench(note, side, bench):
    """The update benchmark's figures: the pass is the update and, with
    streamed music, the feed after it (the same as the update without)."""
    for scene in SCENES:
        b = bench[scene]
        note(side, scene + ": mean update (us)", b["real_time"])
        note(side, scene + ": worst update, wall time (us)", b["worst_us"])
        note(side, scene + ": worst update, the thread's CPU time (us)", b["cpu_worst_us"])
        note(side, scene + ": worst pass, update and music fed, wall time (us)", b["pass_worst_us"])
        note(side, scene + ": worst pass, update and music fed, CPU time (us)", b["pass_cpu_worst_us"])
        if side == "ours":
            note(side, scene + ": music fed after an update, mean (us)", b["feed_mean_us"])
            note(side, scene + ": music fed after an update, worst wall time (us)", b["feed_worst_us"])
            note(side, scene + ": music fed after an update, worst CPU time (us)", b["feed_cpu_worst_us"])
    if "music-start" in bench:
        b = bench["music-start"]
        for key, what in (("start", "the stream opened"), ("first_feed", "its first feed")):
            note(side, "change of track: %s, mean CPU time (us)" % what, b[key + "_cpu_mean_us"])
            note(side, "change of track: %s, worst CPU time (us)" % what, b[key + "_cpu_worst_us"])
            note(side, "change of track: %s, worst wall time (us)" % what, b[key + "_worst_us"])
        note(side, "change of track: both, worst CPU time (us)", b["pass_cpu_worst_us"])
        note(side, "change of track: both, worst wall time (us)", b["pass_worst_us"])


def note_real_game(note, side, rows):
    note(side, "real game: start to the end of loading (ms)", number(rows["Start to the end of loading (menu up)"]))
    if rows.get("Start to the menu at rest", "-") != "-":
        note(side, "real game: start to the menu at rest (ms)", number(rows["Start to the menu at rest"]))
    note(side, "real game: first second after loading, update start after it was due, worst (ms)",
         number(rows["First second after loading: update start after it was due, worst"]))
    for stretch in ("menu", "round"):
        note(side, "real game, %s: update start after it was due, worst (ms)" % stretch,
             number(rows["%s: update start after it was due, worst" % stretch]))
    note(side, "real game: peak memory at the menu, VmHWM (MiB)",
         number(rows["Peak memory at the menu (VmHWM after its stretch)"]))
    note(side, "real game: peak memory after the round, VmHWM (MiB)",
         number(rows["Peak memory (VmHWM) / resident at the end"]))


def main():
    builds = dict(zip(SIDES, sys.argv[1:3]))
    data, runs, seconds, out = sys.argv[3], int(sys.argv[4]), float(sys.argv[5]), sys.argv[6]
    figures = {side: {} for side in SIDES}

    def note(side, name, value):
        figures[side].setdefault(name, []).append(value)

    loads = [loadavg()]
    for run in range(runs):
        for side in SIDES:
            print("run %d, %s" % (run + 1, side), flush=True)
            note_bench(note, side, update_bench(builds[side], data))
            note_real_game(note, side, real_game(builds[side], data, seconds))
            loads.append(loadavg())
    write(figures, runs, loads, out)


def loadavg():
    return " ".join(open("/proc/loadavg").read().split()[:3])


def cell(values):
    return "%.2f / %.2f" % (statistics.median(values), max(values)) if values else "-"


def write(figures, runs, loads, out):
    with open(out, "w") as f:
        f.write("%d runs of each, alternating; median / worst over the runs. Load average at the start and "
                "after each build's turn: %s\n\n" % (runs, " -> ".join(loads)))
        f.write("| figure | without music | with music | difference of the worst |\n|---|---|---|---|\n")
        for name in figures["ours"]:
            today, ours = figures["today"].get(name, []), figures["ours"][name]
            diff = "%+.2f" % (max(ours) - max(today)) if today else "-"
            f.write("| %s | %s | %s | %s |\n" % (name, cell(today), cell(ours), diff))
    print(open(out).read())


if __name__ == "__main__":
    main()
