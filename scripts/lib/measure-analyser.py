"""Accuracy of quirnel-cli measure against Praat's Burg formants (see scripts/measure-analyser)."""
import argparse
import concurrent.futures
import csv
import os
import random
import resource
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LIB = os.path.join(ROOT, "scripts", "lib")
GROUPS = ["men", "women", "children"]
COUNTS = [4, 4.5, 5, 5.5, 6]
CEILINGS = list(range(4000, 6501, 250))
DEFAULT_CEILING = {"men": 5000, "women": 5500, "children": 5500}
# Praat's pitch range per group: its manual's advice for men's and women's voices, and for
# children's a ceiling above their highest F0.
PITCH_RANGE = {"men": (75, 300), "women": (100, 500), "children": (100, 600)}


def run(args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def tokens():
    """40 tokens per group and half: speakers with odd numbers tune, even ones are held out."""
    rows = list(csv.DictReader(open(os.path.join(ROOT, "data/reference/peterson-barney-1952.csv"))))
    rng = random.Random(1952)
    chosen = []
    for group in GROUPS:
        for half, parity in (("tune", 1), ("held", 0)):
            pool = [r for r in rows if r["group"] == group and int(r["speaker"]) % 2 == parity]
            for i, r in enumerate(rng.sample(pool, 40)):
                f = [float(r[k]) for k in ("F0", "F1", "F2", "F3")]
                varied = i % 2 == 1
                chosen.append(dict(group=group, half=half, vowel=r["vowel"], f0=f[0], f1=f[1],
                                   f2=f[2], f3=f[3], b1=rng.uniform(50, 110),
                                   b2=rng.uniform(60, 140), b3=rng.uniform(90, 200),
                                   f4=f[3] + rng.uniform(600, 1100), varied=varied,
                                   flutter=rng.uniform(0.2, 0.5) if varied else 0,
                                   open=rng.uniform(0.75, 0.9) if varied else 0,
                                   tilt=rng.uniform(5, 15) if varied else 0,
                                   breath=rng.uniform(50, 65) if varied else 0))
    return chosen


def make(token, path):
    t = token
    run(["praat", "--run", os.path.join(LIB, "make-klatt-vowel.praat"), path, "0.5",
         *[f"{t[k]:.1f}" for k in ("f0", "f1", "b1", "f2", "b2", "f3", "b3", "f4")],
         f"{t['flutter']:.2f}", f"{t['open']:.2f}", f"{t['tilt']:.1f}", f"{t['breath']:.1f}"])


def praat_grid(path):
    cache = path + ".burg"
    if os.path.exists(cache):
        out = open(cache).read()
    else:
        out = run(["praat", "--run", os.path.join(LIB, "measure-burg.praat"), path,
                   " ".join(str(c) for c in COUNTS), " ".join(str(c) for c in CEILINGS)])
        open(cache, "w").write(out)
    grid = {}
    for line in out.split("\n"):
        parts = line.split()
        if len(parts) == 5:
            vals = [float(p) if p != "--undefined--" else float("nan") for p in parts[2:]]
            grid[(float(parts[0]), int(float(parts[1])))] = vals
    return grid


def quirnel(cli, paths):
    out = run([cli, "measure", *paths])
    rows = list(csv.DictReader(out.splitlines()))
    res = {}
    for r in rows:
        if r["f1_hz"]:
            res[r["file"]] = ([float(r[k]) for k in ("f1_hz", "f2_hz", "f3_hz")],
                              r["f1_uncertain"] == "1", float(r["f0_hz"]))
        else:
            res[r["file"]] = ([float("nan")] * 3, False, float("nan"))
    return res


def err(meas, true):
    if meas != meas:
        return 1.0  # no reading counts as a 100 % error
    return abs(meas - true) / true


def p90(values):
    v = sorted(values)
    return v[min(len(v) - 1, int(round(0.9 * (len(v) - 1))))]


def row(label, errors):
    cells = []
    for i in range(3):
        e = [x[i] * 100 for x in errors]
        cells.append(f"{statistics.median(e):4.1f} / {p90(e):4.1f}")
    return f"| {label} | " + " | ".join(cells) + " |"


def table(title, lines):
    print(f"\n{title}\n\n| group / method | F1 % median / p90 | F2 % | F3 % |\n|---|---|---|---|")
    for line in lines:
        print(line)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", required=True)
    ap.add_argument("--keep", help="folder that keeps the tokens")
    args = ap.parse_args()
    work = args.keep or tempfile.mkdtemp(prefix="measure-analyser-")
    os.makedirs(work, exist_ok=True)
    toks = tokens()
    for i, t in enumerate(toks):
        t["path"] = os.path.join(work, f"{t['half']}-{t['group']}-{i:03d}-{t['vowel']}.wav")
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        list(pool.map(lambda t: os.path.exists(t["path"]) or make(t, t["path"]), toks))
        grids = list(pool.map(lambda t: praat_grid(t["path"]), toks))
    for t, g in zip(toks, grids):
        t["grid"] = g
    q = quirnel(args.cli, [t["path"] for t in toks])
    for t in toks:
        t["quirnel"], t["uncertain"], t["f0_meas"] = q[t["path"]]

    def errors(ts, key):
        return [[err(m, t[f]) for m, f in zip(key(t), ("f1", "f2", "f3"))] for t in ts]

    # Praat tuned: per group, the setting with the least p90 of F1 plus F2 on the tuning set.
    tuned = {}
    for g in GROUPS:
        ts = [t for t in toks if t["group"] == g and t["half"] == "tune"]
        best = None
        for setting in ts[0]["grid"]:
            e = errors(ts, lambda t: t["grid"][setting])
            score = p90([x[0] for x in e]) + p90([x[1] for x in e])
            if best is None or score < best[0]:
                best = (score, setting)
        tuned[g] = best[1]
    for half, name in (("held", "held-out set (speakers with even numbers)"),
                       ("tune", "tuning set (speakers with odd numbers)")):
        lines = []
        for g in GROUPS:
            ts = [t for t in toks if t["group"] == g and t["half"] == half]
            lines.append(row(f"{g}: Praat Burg default",
                             errors(ts, lambda t: t["grid"][(5, DEFAULT_CEILING[g])])))
            n, c = tuned[g]
            lines.append(row(f"{g}: Praat tuned ({n:g} formants, {c} Hz)",
                             errors(ts, lambda t: t["grid"][tuned[g]])))
            lines.append(row(f"{g}: quirnel-cli measure", errors(ts, lambda t: t["quirnel"])))
            for kind, sel in (("plain", False), ("varied", True)):
                sub = [t for t in ts if t["varied"] == sel]
                lines.append(row(f"{g}: quirnel, {kind} voices only",
                                 errors(sub, lambda t: t["quirnel"])))
            sure = [t for t in ts if not t["uncertain"]]
            lines.append(row(f"{g}: quirnel, F1 certain only ({len(sure)} of {len(ts)})",
                             errors(sure, lambda t: t["quirnel"])))
            f0e = [abs(t["f0_meas"] - t["f0"]) / t["f0"] * 100 for t in ts
                   if t["f0_meas"] == t["f0_meas"]]
            lines.append(f"| {g}: quirnel F0 vs asked mean F0 | {statistics.median(f0e):4.1f} / "
                         f"{p90(f0e):4.1f} | | |")
        table(f"Klatt tokens, {name}: error relative to the asked formant", lines)
    worst = sorted((t for t in toks if t["half"] == "held"),
                   key=lambda t: -max(err(m, t[f]) for m, f in zip(t["quirnel"], ("f1", "f2"))))
    print("\nWorst held-out tokens (asked F0 F1 F2 F3 / measured F1 F2 F3):")
    for t in worst[:8]:
        print(f"  {os.path.basename(t['path'])} varied={int(t['varied'])}: {t['f0']:.0f} {t['f1']:.0f} "
              f"{t['f2']:.0f} {t['f3']:.0f} / " + " ".join(f"{m:.0f}" for m in t["quirnel"]))
    pitch(args.cli, toks)
    own_vowels(args.cli, work)
    speed(args.cli, work)


def praat_pitch(path, group):
    """Praat's F0 at 0, 10, 20 ms ... (None where it finds the frame unvoiced)."""
    lo, hi = PITCH_RANGE[group]
    cache = f"{path}.pitch-{lo}-{hi}"
    if os.path.exists(cache):
        out = open(cache).read()
    else:
        out = run(["praat", "--run", os.path.join(LIB, "measure-pitch.praat"), path, str(lo),
                   str(hi), "0.01"])
        open(cache, "w").write(out)
    values = {}
    for line in out.split("\n"):
        parts = line.split()
        if len(parts) == 2:
            values[round(float(parts[0]) * 100)] = (None if parts[1] == "--undefined--"
                                                    else float(parts[1]))
    return values


def pitch(cli, toks):
    """quirnel's F0 track against Praat's To Pitch (autocorrelation) on the same tokens,
    frame by frame: the relative difference where both find the frame voiced, and how often
    they agree on whether it is voiced."""
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        praat = list(pool.map(lambda t: praat_pitch(t["path"], t["group"]), toks))
    ours = {}
    for r in csv.DictReader(run([cli, "measure", "--track", *[t["path"] for t in toks]])
                            .splitlines()):
        ours.setdefault(r["file"], {})[round(float(r["time_s"]) * 100)] = (
            float(r["f0_hz"]) if r["f0_hz"] else None)
    print("\nF0 against Praat's To Pitch (autocorrelation, default settings; floor and ceiling "
          "75-300 Hz men, 100-500 women, 100-600 children), frame by frame on all 240 tokens"
          "\n\n| group | F0 difference % median / p90 | frames > 20 % apart | voicing agreement "
          "| voiced by quirnel only | by Praat only |\n|---|---|---|---|---|---|")
    for g in GROUPS:
        diffs, agree, only_ours, only_praat, frames = [], 0, 0, 0, 0
        for t, p in zip(toks, praat):
            if t["group"] != g:
                continue
            for k, f0 in ours[t["path"]].items():
                if k not in p:
                    continue
                frames += 1
                ref = p[k]
                agree += (f0 is None) == (ref is None)
                only_ours += f0 is not None and ref is None
                only_praat += f0 is None and ref is not None
                if f0 is not None and ref is not None:
                    diffs.append(abs(f0 - ref) / ref * 100)
        far = sum(d > 20 for d in diffs)
        print(f"| {g} | {statistics.median(diffs):4.2f} / {p90(diffs):4.2f} | "
              f"{far / len(diffs) * 100:.1f} % | {agree / frames * 100:.1f} % | "
              f"{only_ours / frames * 100:.1f} % | {only_praat / frames * 100:.1f} % |")


def cpu_seconds(args, times):
    """The least CPU time of running a program, over the given number of runs (the least is
    the one least disturbed by other work on the machine)."""
    least = float("inf")
    for _ in range(times):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        run(args)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        least = min(least, after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime)
    return least


def speed(cli, work):
    """quirnel-cli measure against Praat's To Formant (burg) on the same second of a woman's
    vowel at 44.1 kHz, both in CPU time without the programs' start (which a run on a file of
    10 ms, or a Praat run that only reads the file, measures)."""
    path = os.path.join(work, "speed-1s.wav")
    short = os.path.join(work, "speed-10ms.wav")
    for out, seconds in ((path, "1"), (short, "0.01")):
        run(["praat", "--run", os.path.join(LIB, "make-klatt-vowel.praat"), out, seconds, "210",
             "850", "80", "1220", "90", "2810", "150", "3800", "0", "0", "0", "0"])
    burg = os.path.join(LIB, "time-burg.praat")
    ours = (cpu_seconds([cli, "measure", "--track", path], 20) -
            cpu_seconds([cli, "measure", "--track", short], 20))
    praat = (cpu_seconds(["praat", "--run", burg, path, "50"], 5) -
             cpu_seconds(["praat", "--run", burg, path, "0"], 5)) / 50
    stopwatch = float(run(["praat", "--run", burg, path, "20"]).split()[0])
    print(f"\nSpeed on 1 s at 44.1 kHz, CPU time without the programs' start: quirnel-cli "
          f"measure --track {ours * 1000:.0f} ms, Praat To Formant (burg) {praat * 1000:.0f} ms "
          f"(its stopwatch: {stopwatch * 1000:.0f} ms); ratio {ours / praat:.1f}")


def own_vowels(cli, work):
    """The engine's own vowels: bundled voices and made voices at F0 80-400 Hz."""
    vowels = [(270, 2290, 3010), (390, 1990, 2550), (530, 1840, 2480), (660, 1720, 2410),
              (730, 1090, 2440), (570, 840, 2410), (440, 1020, 2240), (300, 870, 2240),
              (640, 1190, 2390), (490, 1350, 1690)]
    voices = [(os.path.join(ROOT, "data/Dat", n), n) for n in sorted(os.listdir(os.path.join(ROOT, "data/Dat")))
              if n.endswith(".dat")]
    for f0 in (80, 120, 160, 200, 250, 300, 350, 400):
        path = os.path.join(work, f"made-{f0}.dat")
        if not os.path.exists(path):
            run([cli, "voice", "--f0", str(f0), "--out", path])
        voices.append((path, f"made {f0} Hz"))
    lines = []
    for path, name in voices:
        files, truth = [], []
        for i, (f1, f2, f3) in enumerate(vowels):
            for scale in (1.0, 1.15):
                t = (round(f1 * scale), round(f2 * scale), round(f3 * scale))
                out = os.path.join(work, f"own-{os.path.basename(path)}-{i}-{scale}.wav")
                run([cli, "render", "--voice", path, "--f1", str(t[0]), "--f2", str(t[1]),
                     "--f3", str(t[2]), "--rate", "44100", "--out", out])
                files.append(out)
                truth.append(t)
        q = quirnel(cli, files)
        lines.append(row(name, [[err(m, tr) for m, tr in zip(q[f][0], t)]
                                for f, t in zip(files, truth)]))
    table("The engine's own vowels (10 vowels, each as asked and 15 % higher)", lines)


if __name__ == "__main__":
    main()
