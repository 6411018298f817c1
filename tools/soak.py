#!/usr/bin/env python3
"""Soak runs of the real game headless, with figures:

  playthrough  the play-through's whole timeline played several times in a row, one process
               each: exit, CPU time, peak memory, and whether the last state is the same every
               time; with a sanitizer build LeakSanitizer checks every run's end
  random       a seeded random key timeline over many frames from the first (the title, a new
               game, walking, talking, menus, battles as they come): no crash, no hang, and the
               memory sampled every second, which should stay flat

  tools/soak.py --game build/bench/game/gh02                  # both, 3 runs, 100,000 frames
  tools/soak.py --game build/test/game/gh02 --only playthrough
  tools/soak.py --game build/dev/game/gh02 --only random --frames 25000 --starts forest boss_battle

It exits 1 when a run crashed, hung or (random) grew by more than --growth-mib after its first
quarter.
"""

import argparse
import json
import random
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import gh02_runs  # noqa: E402

REPOSITORY = Path(__file__).resolve().parent.parent
KEYS = ("up", "down", "left", "right", "shift", "ctrl", "return", "backspace", "v")
MOVES = ("up", "down", "left", "right")


def timeline_prefix(keys: Path, until: int):
    """The events of a key timeline before a frame, with every key still held let go there."""
    events, held = [], set()
    for line in keys.read_text(encoding="utf-8").splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[0].isdigit() and int(parts[0]) < until:
            events.append((int(parts[0]), parts[1], parts[2]))
            (held.add if parts[2] == "down" else held.discard)(parts[1])
    return events + [(until, k, "up") for k in sorted(held)]


def random_timeline(seed: int, frames: int, prefix=()) -> str:
    """Key presses at random after the prefix (a start in the play-through): a walking key held
    for up to three seconds, the others tapped or held briefly; never Escape, which would end
    the run."""
    rng = random.Random(seed)
    events = list(prefix)
    frame = max((e[0] for e in events), default=0) + 5
    while frame < frames - 60:
        key = rng.choice(MOVES if rng.random() < 0.45 else KEYS)
        held = rng.randint(10, 180) if key in MOVES else rng.randint(1, 14)
        events.append((frame, key, "down"))
        events.append((frame + held, key, "up"))
        frame += rng.randint(2, 40)
    events.sort(key=lambda e: e[0])
    lines = [f"# random keys, seed {seed}", f"frames {frames}"]
    lines += [f"{f} {k} {d}" for f, k, d in events]
    return "\n".join(lines) + "\n"


def vm_rss_kib(pid: int) -> int:
    try:
        for line in Path(f"/proc/{pid}/status").read_text().splitlines():
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    except OSError:
        pass
    return 0


def base_command(args, work: Path, frames: int, keys: Path, dump: Path):
    saves = work / "saves"
    saves.mkdir(exist_ok=True)
    cmd = [args.game, "--headless", "--seed", args.game_seed, "--frames", frames,
           "--save-dir", saves, "--input", keys, "--dump-state", f"{frames - 1}:{dump}"]
    if args.data:
        cmd += ["--data", Path(args.data).resolve()]
    return cmd


def verdict(r) -> str:
    if r.timed_out:
        return "hang"
    return gh02_runs.fault_line(r) or "ok"


def playthrough(args, env, work: Path) -> bool:
    keys = Path(args.keys).resolve()
    frames = gh02_runs.read_timeline(keys).end
    print(f"play-through, {frames} frames, {args.runs} runs in a row")
    print("| run | result | CPU s | wall s | peak RSS MiB | last state |")
    print("|---:|---|---:|---:|---:|---|")
    good, first = True, None
    for i in range(1, args.runs + 1):
        dump = work / f"playthrough_{i}.json"
        r = gh02_runs.run_game(base_command(args, work, frames, keys, dump), env, work,
                               args.cpu_limit, args.timeout, work / f"playthrough_{i}.err")
        state = dump.read_bytes() if dump.exists() else b""
        first = first if first is not None else state
        same = "same as run 1" if state == first and state else "DIFFERS"
        v = verdict(r)
        good = good and v == "ok" and same != "DIFFERS"
        print(f"| {i} | {v} | {r.cpu_seconds:.1f} | {r.wall_seconds:.1f} | "
              f"{r.peak_rss_kib / 1024:.1f} | {same} |", flush=True)
    return good


def random_soak(args, env, work: Path, start: str) -> bool:
    """Random keys for --frames frames after the play-through reached the milestone `start`
    ("title": from the first frame)."""
    timeline = gh02_runs.read_timeline(Path(args.keys))
    at = 0 if start == "title" else dict((n, f) for f, n in timeline.milestones)[start]
    prefix = timeline_prefix(Path(args.keys), at) if at else []
    keys = work / "random.keys"
    keys.write_text(random_timeline(args.seed, at + args.frames, prefix))
    samples = []  # RSS KiB, about once a second

    def sample(pid):
        samples.append(vm_rss_kib(pid))

    dump = work / "random_end.json"
    cmd = base_command(args, work, at + args.frames, keys, dump)
    trail = [at + args.frames * i // 10 for i in range(1, 10)]  # where the keys took it
    for f in trail:
        cmd += ["--dump-state", f"{f}:{work / f'random_{f}.json'}"]
    r = gh02_runs.run_game(cmd, env, work, args.cpu_limit, args.timeout, work / "random.err",
                           on_sample=sample)
    v = verdict(r)
    samples = [s for s in samples if s] or [0]
    quarter = max(1, len(samples) // 4)
    early, late = max(samples[:quarter]), max(samples[-quarter:])
    growth = (late - early) / 1024
    print(f"random keys from {start} (frame {at}), seed {args.seed}, {args.frames} frames: {v}; "
          f"CPU {r.cpu_seconds:.1f} s, wall {r.wall_seconds:.1f} s, peak RSS "
          f"{r.peak_rss_kib / 1024:.1f} MiB")
    marks = [samples[min(len(samples) - 1, len(samples) * p // 100)] for p in (10, 25, 50, 75)]
    marks.append(samples[-1])
    print("RSS MiB at 10 / 25 / 50 / 75 / 100 % of the run: " +
          " / ".join(f"{m / 1024:.1f}" for m in marks) +
          f"; largest in the first quarter {early / 1024:.1f}, in the last {late / 1024:.1f} "
          f"({growth:+.1f} MiB, {len(samples)} samples)")
    places = []
    for path in [work / f"random_{f}.json" for f in trail] + [dump]:
        if path.exists():
            d = json.loads(path.read_text(encoding="utf-8"))
            places.append(f"{d.get('g_FieldName')}/{d.get('g_FrameProc')}")
    print("where it was at every tenth: " + ", ".join(places))
    return v == "ok" and growth <= args.growth_mib


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--game", required=True, help="the gh02 program")
    ap.add_argument("--data", help="the data directory (else the game's own folder)")
    ap.add_argument("--keys", default=REPOSITORY / "tests" / "playthrough" / "adventure.keys")
    ap.add_argument("--game-seed", default="7")
    ap.add_argument("--only", choices=("playthrough", "random"))
    ap.add_argument("--runs", type=int, default=3, help="play-throughs in a row")
    ap.add_argument("--frames", type=int, default=100000, help="frames of a random soak")
    ap.add_argument("--starts", nargs="*", default=["title"],
                    help="random soaks after these milestones of the timeline (title: the start)")
    ap.add_argument("--seed", type=int, default=1, help="seed of the random keys")
    ap.add_argument("--growth-mib", type=float, default=16,
                    help="memory the random soak may gain after its first quarter")
    ap.add_argument("--cpu-limit", type=float, default=3600)
    ap.add_argument("--timeout", type=float, default=7200)
    args = ap.parse_args()
    args.game = Path(args.game).resolve()
    env = gh02_runs.game_environment(REPOSITORY)
    with tempfile.TemporaryDirectory(prefix="gh02-soak-") as tmp:
        ok = True
        if args.only in (None, "playthrough"):
            ok = playthrough(args, env, Path(tmp)) and ok
        if args.only in (None, "random"):
            for start in args.starts:
                ok = random_soak(args, env, Path(tmp), start) and ok
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
