"""Names why ngspice did not print an operating point, in a few words.

ngspice reports one fault in several lines (a warning, an error naming the
statement, "Simulation interrupted", "fatal error"), and the consequences
come after the cause. So the rules below are tried in order, each against
the whole output, and the first rule that matches names the reason: causes
come before consequences in the table. A rule's detail (a parameter, model
or function name) is kept apart from the reason so that reasons can be
counted and the details shown as examples.
"""

import re

# (pattern, reason). A group in the pattern is the detail; "{0}" in the
# reason puts it in the reason itself, where there are few enough values
# to count them separately.
#    pattern                                                   reason
RULES = [
    (r"Undefined parameter \[([^\]]*)\]",                      "undefined parameter"),
    (r"Syntax error: letter \[(.)\]",                          "expression syntax error: letter [{0}]"),
    (r"no such function '([^']*)'",                            "no such function '{0}'"),
    (r"unknown subckt: (?:.*\s)?([^\s=]+)(?:\s+\S+=\S*)*\s*$", "unknown subcircuit"),
    (r"unknown parameter \(([^)]*)\)",                         "unknown parameter"),
    (r"can't find model '([^']*)'",                            "model not found"),
    (r"Unable to find definition of model (\S+)",              "model not found"),
    (r"could not find a valid modelname",                      "no valid model name on instance"),
    (r"model type mismatch in line",                           "model type does not fit the element"),
    (r"Unknown model type (\S+)",                              "unknown model type {0}"),
    (r"unrecognized parameter \((\w+)\)",                      "unrecognized model parameter"),
    (r"PTerror: syntax error",                                 "behavioural expression syntax error"),
    (r"parameter value out of range or the wrong type",        "parameter value out of range or of the wrong type"),
    (r"Missing token in line",                                 "missing token (bad syntax)"),
    (r"Missing token in ([a-zA-Z])\S* ",                       "missing token in an element line ({0})"),
    (r"bad syntax of line",                                    "bad syntax of line"),
    (r"[Ss]ingular matrix",                                    "singular matrix"),
    (r"[Tt]imestep too small",                                 "no convergence: timestep too small"),
    (r"gmin stepping failed|source stepping failed",           "no convergence: gmin and source stepping failed"),
    (r"[Ii]teration limit reached",                            "no convergence: iteration limit"),
    (r"no convergence|did not converge",                       "no convergence"),
    (r"^\s*Error: (.+)",                                       "error: {0}"),
    (r"^\s*ERROR: (.+)",                                       "error: {0}"),
    (r"fatal error",                                           "fatal error"),
    (r"No circuit loaded",                                     "no circuit loaded"),
]  # fmt: skip

_COMPILED = [(re.compile(pattern, re.M), reason) for pattern, reason in RULES]

# Words in generic messages that differ from unit to unit.
_HEX_RUN = re.compile(r"\b[0-9a-fA-F]{16,}\b")
_QUOTED = re.compile(r"'[^']*'")
_NUMBER = re.compile(r"\d+")


# The instance path ngspice puts before a name inside a subcircuit
# ("x1:cmod1", "x1.x2.d1"): the same name differs by it from deck to deck.
_INSTANCE_PATH = re.compile(r"^(?:x\w*[:.])+", re.I)


def normalise_detail(detail):
    return _HEX_RUN.sub("<hex>", _INSTANCE_PATH.sub("", detail.strip()))[:80]


def normalise(message):
    message = _HEX_RUN.sub("<hex>", message.strip())
    message = _QUOTED.sub("'<name>'", message)
    message = _NUMBER.sub("N", message)
    return message[:80]


def classify(output):
    """(reason, detail) for the output of a run that printed no operating
    point."""
    for pattern, reason in _COMPILED:
        match = pattern.search(output)
        if match is None:
            continue
        detail = match.group(1) if pattern.groups else ""
        if "{0}" in reason:
            return reason.format(normalise(detail)), ""
        return reason, normalise_detail(detail)
    return "no operating point printed", ""
