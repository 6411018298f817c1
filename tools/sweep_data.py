#!/usr/bin/env python3
"""The malformed-data sweep: breaks the files of a built data directory one at a time, plays the
real game headless on each broken copy far enough to load the file, and sorts every run into

  ok        the broken file is named on standard error or in a message box
  harmless  not named, but a byte flip or a garbage block inside a picture or a sound: the
            reader cannot tell such bytes from real pixels or samples, and the game plays on
  silent    not named anywhere: an author has no way to find the broken file
  crash     a signal, a sanitizer's report or an unexpected exit code
  hang      the run outlived its CPU-time or wall-clock limit

It writes summary.md (tables by kind of file and by mutation) and runs.tsv (every run) into the
output folder, keeps the broken file and the command of every crash and hang under failures/,
and exits 1 when a run fell into a class given to --fail-on (crash and hang by default), or was
silent after one of the mutations given to --fail-silent (the loaders name every empty,
truncated, missing or misplaced file, and a folder in its place).

Where a file is first used comes from one clean run under strace, with a state dump at every
milestone of the key timeline: the files opened before the first milestone's dump are used by
then, and so on. A broken copy of a file is played to the milestone after its first use (a
little of the game with it loaded); without strace every run plays the whole timeline.

  tools/sweep_data.py --game build/dev/game/gh02 --data build/dev/game --out /tmp/sweep
  tools/sweep_data.py ... --count 30 --seed 1        # a seeded sample of 30 mutants
"""

import argparse
import concurrent.futures
import fnmatch
import json
import os
import random
import re
import shutil
import subprocess
import sys
from collections import Counter, defaultdict
from dataclasses import dataclass
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import gh02_runs  # noqa: E402

REPOSITORY = Path(__file__).resolve().parent.parent

# Files whose bytes are mostly pixels or samples: a flip or a garbage block there may load as a
# slightly different picture or sound, which no reader can tell from the real one.
PICTURE_OR_SOUND = {".bmp", ".dds", ".png", ".tga", ".wav", ".flac", ".ogg"}
# Mutations that may go unnamed in such files.
HARMLESS_THERE = {"flip", "garbage"}

TRUNCATION_POINTS = ("1", "25%", "50%", "75%", "-1")
HUGE_NUMBERS = ("2147483647", "99999999999")
NEGATIVE_NUMBERS = ("-1", "-2147483648")
NUMBER = re.compile(rb"(?<![0-9A-Za-z_.])-?[0-9]+(?![0-9A-Za-z_])")
SJIS_LEAD = b"\x82"


@dataclass(frozen=True)
class Mutant:
    path: str  # relative to the data directory, with "/"
    mutation: str  # empty, truncate, flip, garbage, huge, negative, long-line, lead-byte,
    #                missing, directory, wrong-format
    param: str = ""

    @property
    def name(self) -> str:
        p = self.param.replace("%", "pc").replace("-", "m")
        return f"{self.path.replace('/', '_')}.{self.mutation}{'.' + p if p else ''}"


def is_text(data: bytes) -> bool:
    return bool(data) and b"\0" not in data[:4096]


def kind_of(path: str) -> str:
    """The kind a file is counted under: its folder and its extension ("SCR/*.qd")."""
    p = Path(path)
    folder = p.parts[0] + "/" if len(p.parts) > 1 else ""
    return f"{folder}*{p.suffix.lower() or '(none)'}"


def mutations_for(path: str, data: bytes):
    yield Mutant(path, "empty")
    for point in TRUNCATION_POINTS:
        yield Mutant(path, "truncate", point)
    yield Mutant(path, "flip")
    yield Mutant(path, "garbage")
    if is_text(data):
        if NUMBER.search(data):
            yield Mutant(path, "huge")
            yield Mutant(path, "negative")
        yield Mutant(path, "long-line")
        yield Mutant(path, "lead-byte")
    yield Mutant(path, "missing")
    yield Mutant(path, "directory")
    yield Mutant(path, "wrong-format")


def mutate(m: Mutant, data: bytes, rng: random.Random, others: dict):
    """The broken file's bytes, or None for a file that is not there."""
    n = len(data)
    if m.mutation == "empty":
        return b""
    if m.mutation == "truncate":
        if m.param.endswith("%"):
            return data[: n * int(m.param[:-1]) // 100]
        if int(m.param) > 0:
            return data[: int(m.param)]
        # The last byte that means something: a text file loses the end of its last line, not
        # the line end or end-of-file mark after it.
        body = data.rstrip(b"\r\n\x1a \t") if is_text(data) else data
        return body[: max(0, len(body) - 1)]
    if m.mutation == "flip":
        out = bytearray(data)
        for _ in range(min(3, n)):
            out[rng.randrange(n)] ^= rng.randrange(1, 256)
        return bytes(out)
    if m.mutation == "garbage":
        at = rng.randrange(max(1, n))
        block = bytes(rng.randrange(256) for _ in range(64))
        return data[:at] + block + data[at + 64:]
    if m.mutation in ("huge", "negative"):
        numbers = list(NUMBER.finditer(data))
        hit = rng.choice(numbers)
        value = rng.choice(HUGE_NUMBERS if m.mutation == "huge" else NEGATIVE_NUMBERS)
        return data[: hit.start()] + value.encode() + data[hit.end():]
    if m.mutation == "long-line":
        ends = [i + 1 for i, b in enumerate(data) if b == 0x0A] or [n]
        at = rng.choice(ends)
        return data[:at] + b"A" * 10000 + b"\r\n" + data[at:]
    if m.mutation == "lead-byte":
        return data.rstrip(b"\r\n\x1a") + SJIS_LEAD
    if m.mutation == "missing":
        return None
    if m.mutation == "wrong-format":
        # Another kind of file from the same data set, under this file's name.
        suffix = Path(m.path).suffix.lower()
        candidates = sorted(p for p in others if Path(p).suffix.lower() != suffix)
        return others[rng.choice(candidates)] if candidates else b"\x89PNG\r\n\x1a\n"
    raise ValueError(m.mutation)


def link_tree(source: Path, target: Path, skip: set):
    """A copy of the data directory made of hard links (copies where links cannot be made)."""
    for root, dirs, files in os.walk(source):
        rel = Path(root).relative_to(source)
        (target / rel).mkdir(parents=True, exist_ok=True)
        for f in files:
            src = Path(root) / f
            if src.resolve() in skip:
                continue
            try:
                os.link(src, target / rel / f)
            except OSError:
                shutil.copy2(src, target / rel / f)


def named_in(text: str, path: str) -> bool:
    """Whether a line names the file: its name, or its folder and name without the extension
    (as scripts are called: "wz\\m0"), in either case, as a whole word."""
    p = Path(path.lower())
    names = [re.escape(p.name)]
    if len(p.parts) > 1:
        names.append(re.escape(p.parent.name) + r"[\\/]" + re.escape(p.stem))
    return any(re.search(rf"(?<![0-9a-z_]){n}(?![0-9a-z_])", text.lower()) for n in names)


def message_boxes(dump: Path):
    try:
        boxes = json.loads(dump.read_text(encoding="utf-8")).get("messageBoxes", [])
        return [f"{b.get('caption', '')}: {b.get('text', '')}" for b in boxes]
    except (OSError, ValueError):
        return []


def messages(stderr: str, dump: Path, data: Path, work: Path):
    """A run's lines on standard error and its message boxes, with the folders it ran in written
    alike for every run, so that a clean run's lines can be told from new ones."""
    lines = stderr.splitlines() + message_boxes(dump)
    return [line.replace(str(data), "<data>").replace(str(work), "<work>") for line in lines
            if not line.startswith("gh02: headless run ended")]


class Sweep:
    def __init__(self, args):
        self.args = args
        self.game = Path(args.game).resolve()
        self.data = Path(args.data).resolve()
        self.keys = Path(args.keys).resolve()
        self.out = Path(args.out).resolve()
        self.timeline = gh02_runs.read_timeline(self.keys)
        # The sweep plays no further than this frame: the files first used later are left out.
        self.end = min(args.until or self.timeline.end, self.timeline.end)
        self.env = gh02_runs.game_environment(REPOSITORY)
        self.sanitized = gh02_runs.is_sanitized(self.game)
        self.fixture_bytes = {}  # path -> bytes of a kept broken file (--fixtures)
        self.files = {}  # path -> bytes, every file of the data directory but the game
        for p in sorted(self.data.rglob("*")):
            if p.is_file() and p.resolve() != self.game:
                self.files[p.relative_to(self.data).as_posix()] = p.read_bytes()

    def command(self, data: Path, frames: int, dump: Path, saves: Path):
        return [self.game, "--headless", "--data", data, "--seed", self.args.game_seed,
                "--frames", frames, "--save-dir", saves, "--input", self.keys,
                "--dump-state", f"{frames - 1}:{dump}"]

    def baseline(self):
        """One clean run: where each file is first used, the clean run's messages and cost."""
        base = self.out / "baseline"
        (base / "saves").mkdir(parents=True, exist_ok=True)
        frames = self.end
        cmd = self.command(self.data, frames, base / "end.json", base / "saves")
        marks = [(f, n) for f, n in self.timeline.milestones if f < frames - 1]
        for f, n in marks:
            cmd += ["--dump-state", f"{f}:{base / (n + '.json')}"]
        trace = base / "trace.txt"
        strace = shutil.which("strace") if not self.args.no_strace else None
        traced = [strace, "-f", "-qq", "-e", "trace=openat,open", "-e", "status=successful",
                  "-o", trace] if strace else []
        # LeakSanitizer cannot work under ptrace: the traced run goes without it.
        env = dict(self.env, ASAN_OPTIONS=self.env["ASAN_OPTIONS"] + ":detect_leaks=0")
        r = gh02_runs.run_game(traced + cmd, env, base, 3600, 7200, base / "stderr.txt")
        if strace and (r.exit_code != 0 or not trace.exists()):
            # strace may not be allowed here (no ptrace in some sandboxes): play untraced.
            print(f"sweep: strace failed (exit {r.exit_code}); every run plays to the end",
                  flush=True)
            strace = None
            r = gh02_runs.run_game(cmd, self.env, base, 3600, 7200, base / "stderr.txt")
        if gh02_runs.fault_line(r) or r.timed_out:
            sys.exit(f"sweep: the clean run failed ({gh02_runs.fault_line(r) or 'timed out'}); "
                     f"see {base / 'stderr.txt'}")
        print(f"sweep: clean run {r.cpu_seconds:.1f} s CPU, {r.wall_seconds:.1f} s", flush=True)
        self.base_cpu = r.cpu_seconds
        self.base_wall = r.wall_seconds
        self.base_lines = set(messages(r.stderr, base / "end.json", self.data, base))
        # First use: the milestone whose dump is the first one opened after the file.
        self.first_use = {}
        if strace:
            by_dump = {str(base / (n + ".json")): f for f, n in marks}
            pending = []
            opened = re.compile(r'open(?:at)?\((?:AT_FDCWD, )?"([^"]+)"')
            for line in trace.read_text(errors="replace").splitlines():
                m = opened.search(line)
                if not m:
                    continue
                name = m.group(1)
                if name in by_dump:
                    for p in pending:
                        self.first_use.setdefault(p, by_dump[name])
                    pending = []
                elif name.startswith(str(self.data) + "/"):
                    pending.append(Path(name).relative_to(self.data).as_posix())
            for p in pending:  # used after the last milestone: played to the end
                self.first_use.setdefault(p, frames - 1)
            self.unused = sorted(set(self.files) - set(self.first_use))
        else:
            self.first_use = {p: frames - 1 for p in self.files}
            self.unused = []

    def cut(self, path: str) -> int:
        """Where a run with this file broken ends: the milestone after its first use."""
        first = self.first_use[path]
        later = [f for f, _ in self.timeline.milestones if f > first]
        return min(later[0] if later else self.end, self.end) + 1

    def mutants(self):
        ms = [m for p in sorted(self.first_use) if p in self.files and self.first_use[p] < self.end
              if not self.args.files or any(fnmatch.fnmatch(p, g) for g in self.args.files)
              for m in mutations_for(p, self.files[p])
              if not self.args.mutations or m.mutation in self.args.mutations]
        if self.args.count and self.args.count < len(ms):
            ms = sorted(random.Random(self.args.seed).sample(ms, self.args.count),
                        key=lambda m: (m.path, m.mutation, m.param))
        return self.fixtures() + ms

    def fixtures(self):
        """Broken files kept as they are (faults found before): each replaces its namesake."""
        if not self.args.fixtures:
            return []
        root = Path(self.args.fixtures).resolve()
        found = sorted(p.relative_to(root).as_posix() for p in root.rglob("*") if p.is_file())
        for path in found:
            if path not in self.first_use:
                sys.exit(f"sweep: fixture {path} stands for no file the timeline uses")
            self.fixture_bytes[path] = (root / path).read_bytes()
        return [Mutant(path, "fixture") for path in found]

    def limits(self, frames: int):
        share = frames / self.end
        cpu = self.args.cpu_limit or (self.base_cpu * share * 4 + 30)
        wall = self.args.timeout or (self.base_wall * share * 10 + 120)
        return cpu, wall

    def run(self, m: Mutant):
        rng = random.Random(f"{self.args.seed}:{m.path}:{m.mutation}:{m.param}")
        work = self.out / "work" / m.name
        shutil.rmtree(work, ignore_errors=True)
        data = work / "data"
        link_tree(self.data, data, {self.game})
        target = data / m.path
        target.unlink()
        broken = None
        if m.mutation == "directory":
            target.mkdir()
        elif m.mutation == "fixture":
            broken = self.fixture_bytes[m.path]
            target.write_bytes(broken)
        else:
            broken = mutate(m, self.files[m.path], rng, self.files)
            if broken is not None:
                target.write_bytes(broken)
        (work / "saves").mkdir()
        frames = self.cut(m.path)
        cmd = self.command(data, frames, work / "end.json", work / "saves")
        cpu, wall = self.limits(frames)
        memory = 0 if self.sanitized else self.args.memory_mib
        r = gh02_runs.run_game(cmd, self.env, work, cpu, wall, work / "stderr.txt", memory)
        fault = gh02_runs.fault_line(r)
        new_lines = [line for line in messages(r.stderr, work / "end.json", data, work)
                     if line not in self.base_lines]
        named = [line for line in new_lines if named_in(line, m.path)]
        if r.timed_out:
            outcome, detail = "hang", f"limit {cpu:.0f} s CPU, {wall:.0f} s wall"
        elif fault:
            outcome, detail = "crash", fault
        elif named:
            outcome, detail = "ok", named[0]
        elif (Path(m.path).suffix.lower() in PICTURE_OR_SOUND and
              m.mutation in HARMLESS_THERE):
            outcome, detail = "harmless", ""
        else:
            outcome, detail = "silent", new_lines[0] if new_lines else ""
        if outcome in ("crash", "hang"):
            keep = self.out / "failures" / m.name
            keep.mkdir(parents=True, exist_ok=True)
            if broken is not None:
                (keep / Path(m.path).name).write_bytes(broken)
            shutil.copy(work / "stderr.txt", keep / "stderr.txt")
            (keep / "command.txt").write_text(" ".join(map(str, cmd)) + "\n")
        shutil.rmtree(work, ignore_errors=True)
        return m, frames, outcome, r, detail.replace("\t", " ")[:200]

    def go(self):
        self.out.mkdir(parents=True, exist_ok=True)
        shutil.rmtree(self.out / "failures", ignore_errors=True)
        print(f"sweep: clean run of {self.end} frames ...", flush=True)
        self.baseline()
        mutants = self.mutants()
        print(f"sweep: {len(mutants)} mutants of {len(self.first_use)} files used "
              f"({len(self.unused)} never opened), {self.args.jobs} at a time", flush=True)
        results = []
        with concurrent.futures.ThreadPoolExecutor(self.args.jobs) as pool:
            for i, res in enumerate(pool.map(self.run, mutants), 1):
                m, frames, outcome, r, detail = res
                results.append(res)
                if outcome not in ("ok", "harmless") or self.args.verbose:
                    print(f"  [{i}/{len(mutants)}] {outcome:8} {m.name} ({frames} frames, "
                          f"{r.cpu_seconds:.1f} s) {detail}", flush=True)
                if i % 25 == 0:  # the tables so far, should the sweep be stopped
                    self.report(results, quiet=True)
        self.report(results)
        failed = [r for r in results if r[2] in self.args.fail_on or
                  (r[2] == "silent" and r[0].mutation in (self.args.fail_silent or ()))]
        for m, _, outcome, _, _ in failed:
            print(f"sweep: fails on {outcome} {m.name}", flush=True)
        return 1 if failed else 0

    def report(self, results, quiet=False):
        outcomes = ("ok", "harmless", "silent", "crash", "hang")
        with open(self.out / "runs.tsv", "w", encoding="utf-8") as f:
            f.write("file\tmutation\tparam\tframes\toutcome\texit\tcpu_s\tdetail\n")
            for m, frames, outcome, r, detail in results:
                f.write(f"{m.path}\t{m.mutation}\t{m.param}\t{frames}\t{outcome}\t"
                        f"{r.exit_code}\t{r.cpu_seconds:.2f}\t{detail}\n")

        def table(title, key):
            rows = defaultdict(Counter)
            for res in results:
                rows[key(res[0])][res[2]] += 1
            lines = [f"| {title} | runs | " + " | ".join(outcomes) + " |",
                     "|---|---:|" + "---:|" * len(outcomes)]
            total = Counter()
            for k in sorted(rows):
                total.update(rows[k])
                lines.append(f"| {k} | {sum(rows[k].values())} | " +
                             " | ".join(str(rows[k][o]) for o in outcomes) + " |")
            lines.append(f"| all | {sum(total.values())} | " +
                         " | ".join(str(total[o]) for o in outcomes) + " |")
            return "\n".join(lines)

        cpu = sum(r[3].cpu_seconds for r in results)
        text = (f"# Malformed-data sweep\n\n{len(results)} runs, seed {self.args.seed}, "
                f"{'sanitizer' if self.sanitized else 'plain'} build, {cpu:.0f} s of CPU; "
                f"files never opened by the timeline: {len(self.unused)}.\n\n"
                + table("kind", lambda m: kind_of(m.path)) + "\n\n"
                + table("mutation", lambda m: m.mutation) + "\n")
        (self.out / "summary.md").write_text(text, encoding="utf-8")
        if not quiet:
            print(text)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--game", required=True, help="the gh02 program")
    ap.add_argument("--data", required=True, help="the built data directory")
    ap.add_argument("--out", required=True, help="folder for the results and the broken copies")
    ap.add_argument("--keys", default=REPOSITORY / "tests" / "playthrough" / "adventure.keys",
                    help="key timeline with milestones (the play-through's)")
    ap.add_argument("--game-seed", default="7", help="the game's --seed (the timeline's)")
    ap.add_argument("--seed", type=int, default=1, help="seed of the mutations and the sample")
    ap.add_argument("--count", type=int, default=0, help="a sample of this many mutants")
    ap.add_argument("--until", type=int, default=0,
                    help="play no further than this frame (only files used by then are broken)")
    ap.add_argument("--files", nargs="*", help="only files matching these globs")
    ap.add_argument("--fixtures", help="a folder of broken files played first, each in place of "
                    "the data file of the same path (tests/fixtures/malformed)")
    ap.add_argument("--mutations", nargs="*", help="only these mutations")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--cpu-limit", type=float, default=0, help="CPU seconds a run may take")
    ap.add_argument("--timeout", type=float, default=0, help="wall seconds a run may take")
    ap.add_argument("--memory-mib", type=int, default=4096,
                    help="address space of a run (builds without AddressSanitizer)")
    ap.add_argument("--fail-on", nargs="*", default=["crash", "hang"])
    ap.add_argument("--fail-silent", nargs="*", metavar="MUTATION",
                    help="also fail on a silent run of these mutations (e.g. empty truncate)")
    ap.add_argument("--no-strace", action="store_true", help="play every run to the end")
    ap.add_argument("--verbose", action="store_true", help="print every run")
    sys.exit(Sweep(ap.parse_args()).go())


if __name__ == "__main__":
    main()
