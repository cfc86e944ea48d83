#!/usr/bin/env python3
"""Measures how well zav's translated model files load in ngspice.

For every top-level unit (.MODEL card or .SUBCKT block) of the vendor files
it writes a small deck that ties the unit's pins to DC sources, finds the
operating point in ngspice, and records whether it converged. Three sides:

  zav           zav-import's output under plain ngspice
  vendor-ps     the vendor text under ngspice's PSpice compatibility mode,
                the reference
  vendor-plain  the vendor text under plain ngspice, for information

Where zav and the reference both converge, the pin voltages are compared.
Run with --help for the options.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import decks  # noqa: E402
import failure_reasons  # noqa: E402
import model_text  # noqa: E402
import ngspice_run  # noqa: E402
import report  # noqa: E402

SIDES = ("zav", "vendor-ps", "vendor-plain")

# Units in a run without --all: enough to see every file, few enough for CI.
DEFAULT_SUBSET = 500


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("corpus", help="directory of vendor model files")
    parser.add_argument("-o", "--output", required=True, help="directory for the report, the TSV and kept decks")
    parser.add_argument("--zav-import", default="zav-import", help="the converter (default: zav-import on PATH)")
    parser.add_argument(
        "--target",
        default="ngspice",
        help="the converter's --target (default ngspice); 'none' passes no --target option",
    )
    parser.add_argument(
        "--converter-arg", action="append", default=[], help="one more argument for the converter (repeatable)"
    )
    parser.add_argument("--ngspice", default="ngspice", help="the ngspice binary (default: ngspice on PATH)")
    parser.add_argument(
        "--reference-mode",
        default="psa",
        choices=["ps", "psa"],
        help="compatibility mode of the reference side (default psa)",
    )
    parser.add_argument(
        "--sides", default=",".join(SIDES), help=f"sides to run, comma-separated (default {','.join(SIDES)})"
    )
    parser.add_argument("--timeout", type=float, default=10.0, help="seconds per ngspice run (default 10)")
    parser.add_argument("-j", "--jobs", type=int, default=os.cpu_count() or 1, help="runs at once (default: cores)")
    which = parser.add_mutually_exclusive_group()
    which.add_argument(
        "--subset", type=int, metavar="N", default=DEFAULT_SUBSET,
        help=f"N units spread evenly over all files (default {DEFAULT_SUBSET})",
    )
    which.add_argument("--all", action="store_true", help="every unit")
    parser.add_argument("--keep-failing", action="store_true", help="keep the deck of every failing run")
    parser.add_argument(
        "--known-timeouts",
        metavar="FILE",
        help="units (file TAB unit per line) whose zav-side timeout does not fail the run",
    )
    parser.add_argument("--min-converged-ratio", type=float, help="fail when zav converges on fewer instantiable units")
    parser.add_argument("--min-agreement", type=float, help="fail when fewer units agree where both sides converge")
    args = parser.parse_args(argv)
    args.sides = [s for s in args.sides.split(",") if s]
    unknown = [s for s in args.sides if s not in SIDES]
    if unknown:
        parser.error(f"--sides: unknown side {', '.join(unknown)}; the sides are {', '.join(SIDES)}")
    args.known_timeouts = read_known_timeouts(args.known_timeouts) if args.known_timeouts else set()
    if args.all:
        args.subset = None
    elif args.subset < 1:
        parser.error("--subset: N must be at least 1")
    return args


def read_known_timeouts(path):
    """(file, upper-case unit) pairs from a list of "file TAB unit" lines;
    blank lines and lines starting with "#" are skipped."""
    known = set()
    with open(path, encoding="utf-8") as handle:
        for line in handle:
            line = line.rstrip("\n")
            if line.strip() and not line.startswith("#"):
                file_name, _, unit = line.partition("\t")
                known.add((file_name, unit.upper()))
    return known


class CorpusUnit:
    """One unit of the universe and what happened to it on each side."""

    def __init__(self, file_name, vendor_file, unit):
        self.file_name = file_name
        self.vendor_file = vendor_file
        self.unit = unit
        self.kind = decks.unit_kind(vendor_file, unit) or "?"
        self.duplicate = vendor_file.by_name[unit.key] is not unit
        self.skeleton = None if self.duplicate else decks.skeleton(vendor_file, unit)
        self.results = {}  # side -> SideResult
        self.agree = None  # True, False, or None when not compared


class SideResult:
    def __init__(self, status, reason="", detail="", values=None, seconds=0.0):
        self.status = status  # converged, failed, timeout, crash, missing
        self.reason = reason
        self.detail = detail
        self.values = values or {}
        self.seconds = seconds


def model_files(corpus):
    """(name, ModelFile) of every file in `corpus` that holds a unit, by
    name; files with none (a manifest, a README) are no model files."""
    found = []
    for name in sorted(os.listdir(corpus)):
        path = os.path.join(corpus, name)
        if os.path.isfile(path):
            parsed = model_text.read(path)
            if parsed.units:
                found.append((name, parsed))
    return found


def choose(units, subset):
    """Every unit, or `subset` of them spread evenly over the list (which is
    in file order, so over all files)."""
    if subset is None or subset >= len(units):
        return units
    return [units[i * len(units) // subset] for i in range(subset)]


def target_options(args):
    """The converter's --target option. A converter from before the option
    existed knows only the host target: for it, "--target host" is left out
    and any other target is an error."""
    if args.target == "none":
        return []
    try:
        done = subprocess.run([args.zav_import, "--help"], capture_output=True, timeout=60)
    except (OSError, subprocess.TimeoutExpired) as error:
        sys.exit(f"ngspice-harness: cannot run the converter {args.zav_import}: {error}")
    if b"--target" in done.stdout:
        return ["--target", args.target]
    if args.target == "host":
        return []
    sys.exit(f"ngspice-harness: {args.zav_import} has no --target option; use --target host or none")


def converter_command(args, source, destination):
    command = [args.zav_import, *args.target_options]
    return command + ["-q", "--fail-on=never", *args.converter_arg, source, "-o", destination]


def convert(args, corpus, names, directory):
    """Runs the converter on each named file; returns name -> ModelFile of
    the output, or name -> error text when the converter failed."""

    def one(name):
        destination = os.path.join(directory, name)
        command = converter_command(args, os.path.join(corpus, name), destination)
        try:
            done = subprocess.run(command, capture_output=True, timeout=600)
        except (OSError, subprocess.TimeoutExpired) as error:
            return name, f"converter did not run: {error}"
        if done.returncode not in (0, 1) or not os.path.exists(destination):
            message = done.stderr.decode("latin-1").strip().splitlines()
            return name, f"converter exit {done.returncode}: {message[0] if message else ''}"
        return name, model_text.read(destination)

    with ThreadPoolExecutor(max(1, args.jobs)) as pool:
        return dict(pool.map(one, names))


def run_side(args, item, side, side_file, scratch):
    """Runs one side of one unit; returns its SideResult."""
    if isinstance(side_file, str):
        return SideResult("missing", "no output file", side_file)
    library = decks.unit_library(side_file, item.unit)
    if library is None:
        return SideResult("missing", "unit not in output")
    directory = tempfile.mkdtemp(dir=scratch)
    with open(os.path.join(directory, decks.UNIT_FILE), "w", encoding="latin-1") as handle:
        handle.write(library)
    with open(os.path.join(directory, "deck.cir"), "w", encoding="latin-1") as handle:
        handle.write(decks.deck_text(f"{item.file_name} {item.unit.name}", item.skeleton))
    mode = args.reference_mode if side == "vendor-ps" else "plain"
    run = ngspice_run.run(args.ngspice, directory, "deck.cir", mode, args.timeout)
    result = interpret(run, item.skeleton.pins, args.timeout)
    if result.status != "converged" and args.keep_failing:
        keep = os.path.join(args.output, "failing", side, safe_name(item.file_name), safe_name(item.unit.name))
        shutil.rmtree(keep, ignore_errors=True)
        shutil.copytree(directory, keep)
        with open(os.path.join(keep, "ngspice.out"), "w", encoding="latin-1") as handle:
            handle.write(run.output)
    shutil.rmtree(directory, ignore_errors=True)
    return result


def interpret(run, pins, timeout):
    if run.status == "timeout":
        return SideResult("timeout", f"timeout ({timeout:g} s)", seconds=run.seconds)
    if run.status == "crash":
        return SideResult("crash", f"signal {signal_name(-run.returncode)}", seconds=run.seconds)
    if all(pin in run.values for pin in pins):
        return SideResult("converged", values={p: run.values[p] for p in pins}, seconds=run.seconds)
    reason, detail = failure_reasons.classify(run.output)
    return SideResult("failed", reason, detail, seconds=run.seconds)


def signal_name(number):
    try:
        return signal.Signals(number).name
    except ValueError:
        return str(number)


def safe_name(name):
    return "".join(c if c.isalnum() or c in "-_." else "_" for c in name) or "_"


def main(argv=None):
    args = parse_arguments(sys.argv[1:] if argv is None else argv)
    started = time.monotonic()
    os.makedirs(args.output, exist_ok=True)
    # Kept decks belong to one run.
    shutil.rmtree(os.path.join(args.output, "failing"), ignore_errors=True)
    files = model_files(args.corpus)
    universe = [CorpusUnit(name, parsed, unit) for name, parsed in files for unit in parsed.units]
    chosen = choose(universe, args.subset)
    chosen_files = sorted({item.file_name for item in chosen})

    with tempfile.TemporaryDirectory(prefix="ngspice-harness-") as scratch:
        sides = {}
        vendor = dict(files)
        if "zav" in args.sides:
            args.target_options = target_options(args)
            converted = os.path.join(scratch, "converted")
            os.makedirs(converted)
            sides["zav"] = convert(args, args.corpus, chosen_files, converted)
        for side in ("vendor-ps", "vendor-plain"):
            if side in args.sides:
                sides[side] = vendor

        tasks = [
            (item, side)
            for item in chosen
            if item.skeleton is not None
            for side in args.sides
        ]

        def work(task):
            item, side = task
            return run_side(args, item, side, sides[side][item.file_name], scratch)

        with ThreadPoolExecutor(max(1, args.jobs)) as pool:
            step = max(1, len(tasks) // 10)
            for done, ((item, side), result) in enumerate(zip(tasks, pool.map(work, tasks)), 1):
                item.results[side] = result
                if done % step == 0 or done == len(tasks):
                    print(f"ngspice-harness: {done}/{len(tasks)} runs", file=sys.stderr, flush=True)

    for item in chosen:
        zav, reference = item.results.get("zav"), item.results.get("vendor-ps")
        if zav and reference and zav.status == reference.status == "converged":
            item.agree = report.voltages_agree(zav.values, reference.values, item.skeleton.pins)

    summary = report.Summary(args, universe, chosen, time.monotonic() - started)
    report.write_tsv(os.path.join(args.output, "units.tsv"), chosen, args.sides)
    text = summary.text()
    with open(os.path.join(args.output, "report.md"), "w") as handle:
        handle.write(text)
    sys.stdout.write(text)
    sys.stdout.flush()
    problems = summary.problems()
    for problem in problems:
        print(f"ngspice-harness: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
