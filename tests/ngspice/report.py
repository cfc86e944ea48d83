"""The harness's figures: the summary table, the top failure reasons per
side, the TSV of every unit, and the checks that decide the exit status."""

import collections

# Two pin voltages agree when |a - b| <= RELATIVE * max(|a|, |b|) + ABSOLUTE.
RELATIVE_TOLERANCE = 1e-3
ABSOLUTE_TOLERANCE = 1e-6  # volts

TOP_REASONS = 15


def voltage_agrees(a, b):
    return abs(a - b) <= RELATIVE_TOLERANCE * max(abs(a), abs(b)) + ABSOLUTE_TOLERANCE


def voltages_agree(values, reference, pins):
    """Whether every pin has the same voltage on both sides; a pin missing
    on either side disagrees."""
    return all(pin in values and pin in reference and voltage_agrees(values[pin], reference[pin]) for pin in pins)


def largest_difference(values, reference, pins):
    """The largest |a - b| over the pins both sides printed, in volts."""
    return max((abs(values[p] - reference[p]) for p in pins if p in values and p in reference), default=0.0)


def _share(part, whole):
    return f"{part} ({100.0 * part / whole:.1f} %)" if whole else str(part)


class Summary:
    def __init__(self, args, universe, chosen, seconds):
        self.args = args
        self.universe = universe
        self.chosen = chosen
        self.seconds = seconds
        self.run = [item for item in chosen if not item.duplicate]
        self.instantiable = [item for item in self.run if item.skeleton is not None]

    def count(self, side, status):
        return sum(1 for item in self.instantiable if side in item.results and item.results[side].status == status)

    def converged_ratio(self):
        if not self.instantiable:
            return 0.0
        return self.count("zav", "converged") / len(self.instantiable)

    def compared(self):
        return [item for item in self.instantiable if item.agree is not None]

    def agreement(self):
        compared = self.compared()
        return sum(1 for item in compared if item.agree) / len(compared) if compared else 1.0

    def problems(self):
        """What makes the run fail: a crash or timeout of the zav side, a
        threshold missed."""
        found = []
        if "zav" in self.args.sides:
            for status in ("crash", "timeout"):
                names = [f"{i.file_name}:{i.unit.name}" for i in self.instantiable
                         if i.results["zav"].status == status and not self.known_timeout(i, status)]
                if names:
                    found.append(f"{len(names)} zav {status}(s): {', '.join(names[:10])}")
        minimum = self.args.min_converged_ratio
        if minimum is not None and self.converged_ratio() < minimum:
            found.append(f"zav converged on {self.converged_ratio():.4f} of instantiable units, below {minimum}")
        minimum = self.args.min_agreement
        if minimum is not None and self.agreement() < minimum:
            found.append(f"agreement {self.agreement():.4f}, below {minimum}")
        return found

    def known_timeout(self, item, status="timeout"):
        return status == "timeout" and (item.file_name, item.unit.key) in self.args.known_timeouts

    def known_timeout_lines(self):
        """What became of the units listed as known timeouts, as far as this
        run reached them."""
        listed = [i for i in self.instantiable if "zav" in i.results and self.known_timeout(i)]
        if not listed:
            return []
        still = sum(1 for i in listed if i.results["zav"].status == "timeout")
        lines = [f"Known timeouts (--known-timeouts) in this run: {len(listed)}, {still} still time out."]
        gone = [f"{i.file_name}:{i.unit.name}" for i in listed if i.results["zav"].status != "timeout"]
        if gone:
            lines.append(f"No longer time out (take them off the list): {', '.join(gone)}.")
        return lines

    def text(self):
        args = self.args
        sides = args.sides
        files = len({item.file_name for item in self.universe})
        duplicates = [item for item in self.universe if item.duplicate]
        lines = [
            "# ngspice load check",
            "",
            f"Corpus: {len(self.universe)} top-level units in {files} files"
            f" ({len(duplicates)} repeat a name already defined in their file: the first definition wins"
            " and the repeats are not run).",
            f"Run: {'all units' if args.subset is None else f'subset of {args.subset} units'},"
            f" {len(self.run)} distinct units, {len(self.instantiable)} instantiable;"
            f" reference mode ngbehavior={args.reference_mode}; timeout {args.timeout:g} s;"
            f" {args.jobs} jobs; {self.seconds:.0f} s.",
        ]
        if "zav" in sides:
            target = "(no --target option)" if args.target == "none" else f"--target {args.target}"
            lines.append(f"Converter: {args.zav_import} {target}.")
        lines += ["", "| side | instantiable | converged | failed | not in output | crashes | timeouts |",
                  "|---|---:|---:|---:|---:|---:|---:|"]
        total = len(self.instantiable)
        for side in sides:
            lines.append(
                f"| {side} | {total} | {_share(self.count(side, 'converged'), total)}"
                f" | {self.count(side, 'failed')} | {self.count(side, 'missing')}"
                f" | {self.count(side, 'crash')} | {self.count(side, 'timeout')} |"
            )
        lines.append("")
        not_instantiable = collections.Counter(item.kind for item in self.run if item.skeleton is None)
        if not_instantiable:
            kinds = ", ".join(f"{kind} {n}" for kind, n in sorted(not_instantiable.items()))
            lines.append(f"Not instantiable: {sum(not_instantiable.values())} ({kinds}).")
        if "zav" in sides and "vendor-ps" in sides:
            compared = self.compared()
            agree = sum(1 for item in compared if item.agree)
            lines.append(
                f"Pin voltages agree (zav against vendor-ps, where both converge): {_share(agree, len(compared))}."
            )
            lost = sum(1 for i in self.instantiable
                       if i.results["vendor-ps"].status == "converged" and i.results["zav"].status != "converged")
            won = sum(1 for i in self.instantiable
                      if i.results["zav"].status == "converged" and i.results["vendor-ps"].status != "converged")
            lines.append(f"Converged on vendor-ps only: {lost}; on zav only: {won}.")
        lines += self.known_timeout_lines()
        for side in sides:
            lines += ["", f"## Top failure reasons: {side}", ""] + self.reason_table(side)
        if "zav" in sides and "vendor-ps" in sides:
            lines += ["", "## Top failure reasons of zav where vendor-ps converges", ""]
            lines += self.reason_table("zav", lambda item: item.results["vendor-ps"].status == "converged")
        return "\n".join(lines) + "\n"

    def reason_table(self, side, only=lambda item: True):
        counts = collections.Counter()
        example = {}
        details = collections.defaultdict(collections.Counter)
        for item in self.instantiable:
            result = item.results.get(side)
            if result is None or result.status == "converged" or not only(item):
                continue
            counts[result.reason] += 1
            example.setdefault(result.reason, f"{item.file_name}: {item.unit.name}")
            if result.detail:
                details[result.reason][result.detail.lower()] += 1
        if not counts:
            return ["none"]
        rows = ["| count | reason | example unit | most frequent details |", "|---:|---|---|---|"]
        for reason, n in sorted(counts.items(), key=lambda kv: (-kv[1], kv[0]))[:TOP_REASONS]:
            common = ", ".join(f"{d} ({c})" for d, c in details[reason].most_common(3))
            rows.append(f"| {n} | {_cell(reason)} | {_cell(example[reason])} | {_cell(common)} |")
        return rows


def _cell(text):
    return text.replace("|", "\\|")


def _field(text):
    return text.replace("\t", " ").replace("\n", " ")


def write_tsv(path, chosen, sides):
    """One row per unit: where it is, its kind, and per side the status, the
    reason and its detail; then whether the pin voltages agree."""
    header = ["file", "unit", "kind"]
    for side in sides:
        header += [f"{side} status", f"{side} reason", f"{side} detail"]
    header += ["agree", "largest difference (V)"]
    with open(path, "w", encoding="utf-8") as handle:
        handle.write("\t".join(header) + "\n")
        for item in chosen:
            row = [item.file_name, item.unit.name, item.kind]
            for side in sides:
                if item.duplicate:
                    row += ["duplicate", "", ""]
                elif item.skeleton is None:
                    row += ["not instantiable", "", ""]
                else:
                    result = item.results[side]
                    row += [result.status, result.reason, result.detail]
            if item.agree is None:
                row += ["", ""]
            else:
                zav, reference = item.results["zav"], item.results["vendor-ps"]
                difference = largest_difference(zav.values, reference.values, item.skeleton.pins)
                row += ["yes" if item.agree else "no", f"{difference:.3g}"]
            handle.write("\t".join(_field(f) for f in row) + "\n")
