"""Writes the minimal deck that loads one unit and finds its operating point.

The skeleton (title, sources, resistors, the instance, the analysis) depends
only on the vendor text's unit, so that the two sides of a comparison differ
in nothing but the unit texts they include.
"""

import re

import model_text

# Pin k (from 1) is tied through 1 kOhm to a DC source of 1.3 - 0.7 * (k - 1)
# volts: 1.3, 0.6, -0.1, -0.8, ... Neighbouring pins differ by 0.7 V, about a
# silicon junction's forward drop, so diodes and transistors conduct rather
# than sit at zero; no source is 0 V and no two are equal.
PIN_RESISTANCE = "1k"


def pin_voltage(k):
    return round(1.3 - 0.7 * (k - 1), 6)


# MOSFET geometry when the model card gives none: the dialect's defaults for
# L and W, written on the instance so both sides compute the same device.
DEFAULT_MOS_LENGTH = "100u"
DEFAULT_MOS_WIDTH = "100u"

# Instances by model type: the letter, the number of pins, and what stands
# between the pins and the model name.
#   type        letter  pins  value
INSTANCE_FORMS = {
    "D":       ("D", 2, ""),
    "NPN":     ("Q", 3, ""),
    "PNP":     ("Q", 3, ""),
    "LPNP":    ("Q", 3, ""),
    "NJF":     ("J", 3, ""),
    "PJF":     ("J", 3, ""),
    "NMOS":    ("M", 4, ""),
    "PMOS":    ("M", 4, ""),
    "RES":     ("R", 2, "1k"),
    "R":       ("R", 2, "1k"),
    "CAP":     ("C", 2, "1n"),
    "C":       ("C", 2, "1n"),
    "IND":     ("L", 2, "1u"),
    "L":       ("L", 2, "1u"),
    "VSWITCH": ("S", 4, ""),
    "SW":      ("S", 4, ""),
    "ISWITCH": ("W", 2, ""),
    "CSW":     ("W", 2, ""),
}  # fmt: skip

# A current-controlled switch senses the current of this source, driven by
# a current source of this value.
CONTROL_SOURCE = "VCTRL"
CONTROL_CURRENT = "1m"

_PIN_END_MARKERS = ("PARAMS:", "OPTIONAL:", "TEXT:")


def subckt_pins(header):
    """The pins of a .SUBCKT header: the words after the name up to PARAMS:,
    OPTIONAL: or TEXT: (or a parameter assignment, where PARAMS: is left
    out)."""
    words = header.text.split()[2:]
    pins = []
    for word in words:
        upper = word.upper()
        if upper.startswith(_PIN_END_MARKERS) or "=" in word:
            break
        pins.append(word)
    return pins


_NUMBER = r"[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?[a-zA-Z]*"


def _model_parameter(statement, name):
    match = re.search(r"(?:^|[\s(,])" + name + r"\s*=\s*(" + _NUMBER + r")(?=[\s),]|$)", statement.text, re.I)
    return match.group(1) if match else None


def mos_geometry(unit):
    """L and W for a MOSFET instance: the model card's own, when it gives
    them as numbers (the dialect lets a model carry them as defaults for its
    instances), else the dialect's defaults."""
    length = _model_parameter(unit.header, "L") or DEFAULT_MOS_LENGTH
    width = _model_parameter(unit.header, "W") or DEFAULT_MOS_WIDTH
    return length, width


def unit_kind(model_file, unit):
    """"subckt", a model type, or "" when the type is unknown."""
    return "subckt" if unit.is_subckt else model_text.model_kind(model_file, unit)


class Skeleton:
    """The instance of a unit and the circuit around it."""

    def __init__(self, pins, instance, extra=()):
        self.pins = pins  # node names of the instance's pins
        self.instance = instance
        self.extra = list(extra)

    def circuit_lines(self):
        lines = []
        for k, pin in enumerate(self.pins, 1):
            lines.append(f"VP{k} n{k} 0 DC {pin_voltage(k):g}")
            lines.append(f"RP{k} n{k} {pin} {PIN_RESISTANCE}")
        lines.extend(self.extra)
        lines.append(self.instance)
        return lines


def skeleton(model_file, unit):
    """The Skeleton for a vendor unit, or None when the harness cannot
    instantiate its kind."""
    kind = unit_kind(model_file, unit)
    name = unit.name
    if kind == "subckt":
        count = len(subckt_pins(unit.header))
        pins = [f"p{k}" for k in range(1, count + 1)]
        return Skeleton(pins, " ".join(["X1", *pins, name]))
    form = INSTANCE_FORMS.get(kind)
    if form is None:
        return None
    letter, count, value = form
    pins = [f"p{k}" for k in range(1, count + 1)]
    words = [f"{letter}1", *pins]
    extra = []
    if letter == "W":
        words.append(CONTROL_SOURCE)
        extra = [f"ICTRL 0 c1 DC {CONTROL_CURRENT}", f"{CONTROL_SOURCE} c1 0 DC 0"]
    if value:
        words.append(value)
    words.append(name)
    if letter == "M":
        length, width = mos_geometry(unit)
        words += [f"L={length}", f"W={width}"]
    return Skeleton(pins, " ".join(words), extra)


UNIT_FILE = "unit.lib"


def unit_library(model_file, unit):
    """The included file for one side: the top-level .PARAM and .FUNC
    statements of its file, then the unit and every unit it pulls in, in file
    order. None when the side has no unit of that name."""
    own = model_file.by_name.get(unit.key)
    if own is None:
        return None
    parts = [model_file.statement_text(s) for s in model_file.globals]
    parts += [model_file.unit_text(u) for u in model_text.pulled_in(model_file, own)]
    return "\n".join(parts) + "\n"


def deck_text(title, skel):
    """The deck: it includes UNIT_FILE, so that a compatibility mode that
    translates only included files reads the unit, and prints the node
    voltages of the operating point. In batch mode a .control section runs
    instead of the dot analyses' own listing, which would dump every device
    and model; a .op line as well would run the analysis twice."""
    lines = [f"* {title}", f".include {UNIT_FILE}"]
    lines += skel.circuit_lines()
    lines += [".control", "op", "print all", ".endc", ".end"]
    return "\n".join(lines) + "\n"
