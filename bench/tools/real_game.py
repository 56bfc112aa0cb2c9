#!/usr/bin/env python3
"""The real game in a real window (run under tests/with-display.sh): frame
pacing, CPU use, peak memory and start-up times, with their targets.

    real_game.py GAME OUT.md [SECONDS]

Starts GAME in a scratch folder whose data/ is the repository's, with
VW_TIMING_LOG set: the host then notes, in memory, when each update was due
and when it ran and when each frame was presented, plus the end of loading,
and writes the notes out when the game exits. The game is left alone at the
menu for SECONDS (default 30), then Space starts a round, which is left alone
for SECONDS too (its character bounces on the spot, so the round does not
end), then the window is closed. CPU time comes from /proc/PID/stat over each
stretch, peak memory from VmHWM after the menu's stretch and at the end. All times are CLOCK_MONOTONIC, the
clock the notes use. VW_DATA_DIR, when set, is the data/ used instead.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime, stime


def status_kib(pid, key):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def window_of(pid, limit=20):
    end = time.monotonic() + limit
    while time.monotonic() < end:
        out = subprocess.run(["xdotool", "search", "--name", "^Tovrin Game$"], capture_output=True, text=True)
        if out.stdout.strip():
            return out.stdout.split()[0]
        time.sleep(0.05)
    sys.exit("no game window")


def key(name):
    subprocess.run(["xdotool", "keydown", name])
    time.sleep(0.15)
    subprocess.run(["xdotool", "keyup", name])


def stretch(pid, seconds):
    """CPU share of one core and wall span of the next `seconds`."""
    t0, c0 = time.monotonic(), cpu_seconds(pid)
    time.sleep(seconds)
    t1, c1 = time.monotonic(), cpu_seconds(pid)
    return {"from": t0, "to": t1, "cpu": (c1 - c0) / (t1 - t0)}


def read_notes(path):
    updates, frames, marks = [], [], {}
    with open(path) as f:
        for line in f:
            p = line.split()
            if p[0] == "update":
                updates.append((float(p[1]), float(p[2])))
            elif p[0] == "frame":
                frames.append(float(p[1]))
            elif p[0] == "mark":
                marks.setdefault(p[1], float(p[2]))
    return updates, frames, marks


def pacing(updates, frames, span):
    ran = [u for u in updates if span["from"] <= u[0] <= span["to"]]
    times = [u[0] for u in ran]
    gaps = [(b - a) * 1e3 for a, b in zip(times, times[1:])]
    late = [u[1] * 1e3 for u in ran]
    shown = [f for f in frames if span["from"] <= f <= span["to"]]
    return {
        "updates": len(ran),
        "mean": statistics.mean(gaps),
        "sd": statistics.pstdev(gaps),
        "worst": max(gaps),
        "late_worst": max(late),
        "late_over_2ms": sum(1 for x in late if x > 2),
        "fps": len(shown) / (span["to"] - span["from"]),
    }


def main():
    game, out = os.path.abspath(sys.argv[1]), sys.argv[2]
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 30
    folder = tempfile.mkdtemp(prefix="vw-real-")
    os.symlink(os.environ.get("VW_DATA_DIR") or os.path.join(REPO, "data"), os.path.join(folder, "data"))
    log = os.path.join(folder, "timing.log")
    env = dict(os.environ, VW_TIMING_LOG=log)
    load_before = open("/proc/loadavg").read().split()[:3]
    launched = time.monotonic()
    proc = subprocess.Popen([game], cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wid = window_of(proc.pid)
    time.sleep(2)  # loading ends well within this
    menu = stretch(proc.pid, seconds)
    menu_peak = status_kib(proc.pid, "VmHWM")
    subprocess.run(["wmctrl", "-i", "-a", wid])
    key("space")
    time.sleep(1)
    round_ = stretch(proc.pid, seconds)
    peak, rss = status_kib(proc.pid, "VmHWM"), status_kib(proc.pid, "VmRSS")
    for _ in range(50):
        subprocess.run(["wmctrl", "-i", "-c", wid])
        try:
            proc.wait(timeout=0.2)
            break
        except subprocess.TimeoutExpired:
            pass
    if proc.poll() is None:
        proc.kill()
        sys.exit("the game did not close")
    load_after = open("/proc/loadavg").read().split()[:3]
    updates, frames, marks = read_notes(log)
    m, r = pacing(updates, frames, menu), pacing(updates, frames, round_)

    def ms(t):
        return (t - launched) * 1e3

    rows = [
        ("Start to main (process start-up)", "%.0f ms" % ms(marks["start"]), "-"),
        ("Start to the first frame", "%.0f ms" % ms(frames[0]), "-"),
        ("Start to the end of loading (menu up)", "%.0f ms" % ms(marks["loaded"]), "under 1000 ms"),
        # A build whose host does not watch the menu has no such mark.
        ("Start to the menu at rest", "%.0f ms" % ms(marks["menu-at-rest"]) if "menu-at-rest" in marks else "-",
         "-"),
        # What the menu's first updates start (its music) would show here.
        ("First second after loading: update start after it was due, worst",
         "%.3f ms" % max(u[1] * 1e3 for u in updates if marks["loaded"] <= u[0] <= marks["loaded"] + 1), "-"),
    ]
    for name, p, span in (("menu", m, menu), ("round", r, round_)):
        rows += [
            ("%s: updates in %.0f s" % (name, span["to"] - span["from"]), "%d (%.2f per second)" %
             (p["updates"], p["updates"] / (span["to"] - span["from"])), "60 per second"),
            ("%s: interval between updates, mean / sd / worst" % name,
             "%.3f / %.3f / %.3f ms" % (p["mean"], p["sd"], p["worst"]), "16.667 ms"),
            ("%s: update start after it was due, worst" % name, "%.3f ms" % p["late_worst"], "within 2 ms"),
            ("%s: updates more than 2 ms late" % name, "%d of %d" % (p["late_over_2ms"], p["updates"]), "0"),
            ("%s: frames per second" % name, "%.1f" % p["fps"], "-"),
            ("%s: CPU, share of one core" % name, "%.1f %%" % (100 * span["cpu"]),
             "under 25 %" if name == "menu" else "-"),
        ]
    rows.append(("Peak memory at the menu (VmHWM after its stretch)", "%.1f MiB" % (menu_peak / 1024), "-"))
    rows.append(("Peak memory (VmHWM) / resident at the end", "%.1f MiB / %.1f MiB" % (peak / 1024, rss / 1024),
                 "under 100 MiB"))
    with open(out, "w") as f:
        f.write("Load average before / after: %s / %s\n\n" % (" ".join(load_before), " ".join(load_after)))
        f.write("| figure | measured | target |\n|---|---|---|\n")
        for row in rows:
            f.write("| %s | %s | %s |\n" % row)
    print(open(out).read())


if __name__ == "__main__":
    main()
