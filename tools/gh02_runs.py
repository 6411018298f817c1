"""Running the real game headless from the reliability tools (sweep_data.py, soak.py).

Standard library only. A run gets the environment the tests give the game (no sound device,
the sanitizers' options), a CPU-time limit that ends a loop that never returns, a wall-clock
limit that ends a run that waits forever, and its exit, CPU time and peak memory are read back.
"""

import os
import re
import resource
import signal
import subprocess
import time
from dataclasses import dataclass, field
from pathlib import Path

# What the sanitizers and the C++ runtime print when a run went wrong: any of these in a run's
# standard error makes it a crash, whatever its exit code.
FAULT_MARKERS = (
    "ERROR: AddressSanitizer",
    "ERROR: LeakSanitizer",
    "runtime error:",
    "UndefinedBehaviorSanitizer",
    "terminate called",
    "Assertion `",
)

# The exit codes of an orderly end (0) and of a game that could not start and said why (1).
ORDERLY_EXITS = (0, 1)


def game_environment(repository: Path) -> dict:
    """The environment of a headless run: the tests' sound drivers and sanitizer options, unless
    the caller's environment sets its own."""
    env = dict(os.environ)
    env.setdefault("SDL_AUDIODRIVER", "dummy")
    env.setdefault("ALSOFT_DRIVERS", "null")
    env.setdefault("ASAN_OPTIONS", "detect_leaks=1:abort_on_error=0")
    env.setdefault("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1")
    supp = repository / "tests" / "lsan.supp"
    env.setdefault("LSAN_OPTIONS", f"suppressions={supp}:print_suppressions=0")
    return env


def is_sanitized(binary: Path) -> bool:
    """Whether the program carries AddressSanitizer (which reserves terabytes of address space,
    so no address-space limit can be set on it)."""
    with open(binary, "rb") as f:
        return b"__asan_init" in f.read()


@dataclass
class Timeline:
    """A key timeline's milestones (comments "(milestone <name> at <frame>)" or "(milestones <a> at
    <frame>, <b> at <frame>)") and its last frame."""

    milestones: list = field(default_factory=list)  # (frame, name), in frame order
    last_event: int = 0

    @property
    def end(self) -> int:
        """The frames a run of the whole timeline takes: a second past its last key."""
        return self.last_event + 60


MILESTONES = re.compile(r"milestones? ([^)]*)")
NAME_AT = re.compile(r"([a-z][a-z0-9_]*) at (\d+)")


def read_timeline(path: Path) -> Timeline:
    """A milestone's words may run on into the next comment line, so the comments are read as
    one text."""
    t = Timeline()
    comments = []
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith("#"):
            comments.append(line.lstrip("# "))
        elif line and line[0].isdigit():
            t.last_event = max(t.last_event, int(line.split()[0]))
    marks = {(int(f), n) for group in MILESTONES.findall(" ".join(comments))
             for n, f in NAME_AT.findall(group)}
    t.milestones = sorted(marks)
    return t


@dataclass
class RunResult:
    exit_code: int  # the program's exit code, or minus the signal that ended it
    timed_out: bool  # ended by the wall-clock or CPU-time limit
    cpu_seconds: float
    wall_seconds: float
    peak_rss_kib: int
    stderr: str


def run_game(args, env, cwd, cpu_limit, wall_limit, stderr_path, memory_limit_mib=0,
             on_sample=None):
    """Runs one program; standard output is dropped, standard error kept in stderr_path.
    on_sample(pid) is called about once a second while it runs (the soak reads the memory)."""

    def limits():
        os.setsid()  # its own group, so that a limit ends its helpers too
        cpu = max(1, int(cpu_limit))
        resource.setrlimit(resource.RLIMIT_CPU, (cpu, cpu + 5))
        if memory_limit_mib:
            size = memory_limit_mib << 20
            resource.setrlimit(resource.RLIMIT_AS, (size, size))

    start = time.monotonic()
    timed_out = False
    with open(stderr_path, "wb") as err:
        proc = subprocess.Popen([str(a) for a in args], cwd=cwd, env=env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=err, preexec_fn=limits)
        while True:
            pid, status, usage = os.wait4(proc.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() - start > wall_limit:
                timed_out = True
                os.killpg(proc.pid, signal.SIGKILL)
                pid, status, usage = os.wait4(proc.pid, 0)
                break
            if on_sample:
                on_sample(proc.pid)
            time.sleep(0.2 if not on_sample else 1.0)
        proc.returncode = os.waitstatus_to_exitcode(status)
    code = proc.returncode
    if code in (-signal.SIGXCPU, -signal.SIGKILL):
        timed_out = True
    text = Path(stderr_path).read_text(encoding="utf-8", errors="replace")
    return RunResult(code, timed_out, usage.ru_utime + usage.ru_stime, time.monotonic() - start,
                     usage.ru_maxrss, text)


def fault_line(result: RunResult) -> str:
    """The first line that tells how a run went wrong, or "" when it did not."""
    for line in result.stderr.splitlines():
        if any(m in line for m in FAULT_MARKERS):
            return line.strip()
    if result.exit_code < 0:
        return f"ended by signal {-result.exit_code}"
    if result.exit_code not in ORDERLY_EXITS:
        return f"exit code {result.exit_code}"
    return ""
