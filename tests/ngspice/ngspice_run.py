"""Runs ngspice in batch mode on one deck and reads what it printed."""

import os
import re
import signal
import subprocess
import time
from dataclasses import dataclass, field

# Compatibility modes, as the .spiceinit line that selects them.
#   mode      .spiceinit
SPICEINIT = {
    "plain": "",
    "ps":    "set ngbehavior=ps\n",
    "psa":   "set ngbehavior=psa\n",
}  # fmt: skip

_VALUE_LINE = re.compile(r"^([^\s=]+) = ([-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?|nan|-?inf)\s*$", re.I)


@dataclass
class RunResult:
    status: str  # "ok", "failed", "timeout" or "crash"
    output: str = ""  # standard output and standard error, interleaved
    returncode: int = 0
    seconds: float = 0.0
    values: dict = field(default_factory=dict)  # lower-case vector name -> value


def read_values(output):
    """The "name = value" lines that "print all" writes after an operating
    point."""
    values = {}
    for line in output.splitlines():
        match = _VALUE_LINE.match(line.strip())
        if match:
            values[match.group(1).lower()] = float(match.group(2))
    return values


def run(ngspice, directory, deck, mode, timeout):
    """Runs `ngspice -b deck` with `directory` as working directory and HOME,
    so that the .spiceinit written there for `mode` is the only one read.
    On a timeout the whole process group is killed."""
    with open(os.path.join(directory, ".spiceinit"), "w") as handle:
        handle.write(SPICEINIT[mode])
    env = dict(os.environ, HOME=directory)
    env.pop("SPICE_SCRIPTS", None)
    start = time.monotonic()
    process = subprocess.Popen(
        [ngspice, "-b", deck],
        cwd=directory,
        env=env,
        stdin=subprocess.DEVNULL,
        stdout=subprocess.PIPE,
        stderr=subprocess.STDOUT,
        start_new_session=True,
    )
    try:
        raw, _ = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        _kill_group(process)
        raw, _ = process.communicate()
        output = raw.decode("latin-1")
        return RunResult("timeout", output, process.returncode, time.monotonic() - start)
    finally:
        # Whatever ngspice left behind (it may start a helper) goes too.
        _kill_group(process)
    output = raw.decode("latin-1")
    seconds = time.monotonic() - start
    status = "crash" if process.returncode < 0 else "ok"
    return RunResult(status, output, process.returncode, seconds, read_values(output))


def _kill_group(process):
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass
