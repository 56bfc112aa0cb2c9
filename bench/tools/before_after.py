#!/usr/bin/env python3
"""Two builds side by side in one run: the desktop menu's CPU share and frame
times, the dumped frames' pixels, and the web page's update and render rates
and sizes. Run under tests/with-display.sh:

    before_after.py BEFORE_BENCH AFTER_BENCH BEFORE_WEB AFTER_WEB OUT_DIR

BEFORE_BENCH and AFTER_BENCH are Release builds with VW_BENCH (`make bench`
makes build-bench/), BEFORE_WEB and AFTER_WEB web builds (`make web`).

- The frames are dumped once, by the after build: a display list is the
  game's, whatever draws it. Each build's renderer replays them (vw_render_bench
  --only ours), the two alternating RUNS times; the frame time is the median
  of the runs' medians. Each build's screenshots of every frame are compared
  with `compare -metric AE` (differing pixels), and the after build's also
  with those it draws with its fill shortcuts off (VW_FILL_SHORTCUTS=0).
- The real game (real_game.py) at the menu and in a round, REAL_SECONDS each,
  alternating before, after, before, after, ...: the machine is shared, so the
  builds take turns, and the load is recorded with each run.
- The web page (web_rates.mjs), WEB_SECONDS of one-second samples at the
  menu and in a round, alternating the same way; the seconds of all runs are
  pooled.

Writes OUT_DIR/before-after.md and the raw output beside it.
"""
import json
import os
import re
import statistics
import subprocess
import sys

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RUNS = int(os.environ.get("RUNS", "2"))
RENDER_ROUNDS = os.environ.get("RENDER_ROUNDS", "100")
REAL_SECONDS = os.environ.get("REAL_SECONDS", "20")
WEB_SECONDS = os.environ.get("WEB_SECONDS", "10")


def load():
    return " ".join(open("/proc/loadavg").read().split()[:3])


def run(cmd, out_file, env=None):
    with open(out_file, "w") as f:
        subprocess.run(cmd, check=True, stdout=f, stderr=subprocess.STDOUT, env=env)
    return open(out_file).read()


def render(bench, frames, shots, out_file, env=None):
    """Median frame time (ms) of each dumped frame, our renderer only."""
    os.makedirs(shots, exist_ok=True)
    text = run([os.path.join(bench, "bench", "vw_render_bench"), "--frames", frames, "--only", "ours",
                "--rounds", RENDER_ROUNDS, "--warmup", "10", "--shots", shots], out_file, env)
    times, scene = {}, None
    for line in text.splitlines():
        if line.startswith("### "):
            scene = line[4:].strip()
        elif line.startswith("| ours |") and scene:
            times[scene] = float(line.split("|")[2])
    return times


def differing_pixels(a, b):
    out = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    return int(float(out.stderr.split()[0]))


def real_game(bench, out_file):
    text = run([sys.executable, os.path.join(REPO, "bench", "tools", "real_game.py"),
                os.path.join(bench, "vaultwick"), out_file + ".md", REAL_SECONDS], out_file)
    figures = {}
    for row in re.findall(r"^\| (.+?) \| (.+?) \|", text, re.M):
        figures[row[0]] = row[1]
    cpu = lambda name: float(figures["%s: CPU, share of one core" % name].split()[0])
    return {"menu_cpu": cpu("menu"), "round_cpu": cpu("round"), "load": load(),
            "menu_fps": float(figures["menu: frames per second"])}


def web(build, out_file):
    text = run(["node", "--experimental-websocket", os.path.join(REPO, "bench", "tools", "web_rates.mjs"), build,
                WEB_SECONDS], out_file)
    return json.loads(text.strip().splitlines()[-1])


def main():
    before_bench, after_bench, before_web, after_web, out = sys.argv[1:6]
    os.makedirs(out, exist_ok=True)
    builds = {"before": (before_bench, before_web), "after": (after_bench, after_web)}
    frames = os.path.join(out, "frames")
    run([os.path.join(after_bench, "bench", "vw_dump_frames"), frames], os.path.join(out, "dump.txt"))
    result = {name: {"render": [], "real": [], "web": []} for name in builds}
    loads = [load()]
    for i in range(RUNS):
        for name, (bench, _) in builds.items():
            shots = os.path.join(out, "shots-" + name)
            result[name]["render"].append(render(bench, frames, shots, os.path.join(out, "render-%s-%d.md" % (name, i))))
        for name, (bench, _) in builds.items():
            result[name]["real"].append(real_game(bench, os.path.join(out, "real-%s-%d.txt" % (name, i))))
        for name, (_, build) in builds.items():
            result[name]["web"].append(web(build, os.path.join(out, "web-%s-%d.json" % (name, i))))
        loads.append(load())
    # The after build's renderer once more with its fill shortcuts off: the
    # blended reference its own screenshots must equal.
    render(after_bench, frames, os.path.join(out, "shots-plain"), os.path.join(out, "render-plain.md"),
           dict(os.environ, VW_FILL_SHORTCUTS="0"))
    shots = sorted(f for f in os.listdir(os.path.join(out, "shots-after")) if f.endswith(".png"))
    pixels = {}
    for other in ("before", "plain"):
        pixels[other] = {f: differing_pixels(os.path.join(out, "shots-" + other, f),
                                             os.path.join(out, "shots-after", f)) for f in shots}
    write(result, pixels, loads, os.path.join(out, "before-after.md"))


def pooled(runs, place, key):
    """One figure's one-second samples over every run."""
    return [s[key] for run in runs for s in run[place]["samples"] if s[key] is not None]


def write(result, pixels, loads, path):
    b, a = result["before"], result["after"]
    lines = ["Load average during the run: " + " -> ".join(loads), ""]
    lines += ["| figure | before | after | after / before |", "|---|---|---|---|"]

    def row(name, x, y, fmt="%.1f"):
        # A figure one build cannot give (the before build has no update
        # counts, only the game's meters) is shown as missing, not dropped.
        ratio = ("%.2fx" % (y / x)) if x and y is not None else "-"
        lines.append("| %s | %s | %s | %s |" % (name, "-" if x is None else fmt % x,
                                                   "-" if y is None else fmt % y, ratio))

    for key, label in (("menu_cpu", "desktop menu: CPU, share of one core (%)"),
                       ("round_cpu", "desktop round: CPU, share of one core (%)")):
        bs, as_ = [r[key] for r in b["real"]], [r[key] for r in a["real"]]
        row(label + ", runs " + " / ".join("%.1f|%.1f" % p for p in zip(bs, as_)), statistics.mean(bs),
            statistics.mean(as_))
    for scene in sorted(a["render"][0]):
        bt = statistics.median(r[scene] for r in b["render"])
        at = statistics.median(r[scene] for r in a["render"])
        row("frame time on Mesa, %s (ms)" % scene, bt, at, "%.3f")
    for place in ("menu", "round"):
        for key, label in (("updates", "updates a second"), ("frames", "frames a second"),
                           ("updateMeter", "the game's update meter"), ("renderMeter", "the game's render meter")):
            x, y = pooled(b["web"], place, key), pooled(a["web"], place, key)
            if not x and not y:
                continue
            median = lambda v: statistics.median(v) if v else None
            least = lambda v: min(v) if v else None
            row("web %s: %s, median" % (place, label), median(x), median(y))
            row("web %s: %s, worst second" % (place, label), least(x), least(y))
            row("web %s: %s, best second" % (place, label), max(x) if x else None, max(y) if y else None)
    for key in ("wasm", "js", "data"):
        row("web: vaultwick.%s (bytes)" % key, b["web"][0][key], a["web"][0][key], "%d")
    for other, what in (("before", "the before build's renderer"),
                        ("plain", "the after build's with its fill shortcuts off (VW_FILL_SHORTCUTS=0)")):
        lines += ["", "Differing pixels of each dumped frame as the after build draws it against %s "
                  "(compare -metric AE): " % what +
                  ", ".join("%s %d" % (f[:-len("-ours.png")], n) for f, n in pixels[other].items())]
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
