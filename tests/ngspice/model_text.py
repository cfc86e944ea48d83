"""Reads a PSpice-dialect model file into statements and top-level units.

A unit is a top-level .MODEL card or a .SUBCKT ... .ENDS block. The reader is
deliberately small and independent of zav itself: it is the yardstick the
harness measures zav's output with, so it must not share zav's mistakes.
"""

import re
from dataclasses import dataclass, field

# A byte 0x1A ends the file for the simulators that wrote these libraries;
# one vendor file carries binary data after it.
END_OF_FILE_MARK = "\x1a"

# Characters that separate the words of a statement. Model and subcircuit
# names may hold "-", "+", "/", "." and the like, so operators inside braces
# do not split words: a name used in an expression is rare, and pulling in
# one unit too many costs nothing.
_WORD_SPLIT = re.compile(r"[\s(),={}'\"]+")


@dataclass
class Statement:
    """A statement line with its "+" continuation lines."""

    first: int  # index of the statement line
    last: int  # index of its last continuation line (or of itself)
    text: str  # the lines joined, inline comments and "+" marks removed

    def words(self):
        return [w for w in _WORD_SPLIT.split(self.text) if w]

    def keyword(self):
        words = self.words()
        return words[0].upper() if words else ""


@dataclass
class Unit:
    """A top-level .MODEL card or .SUBCKT block."""

    name: str
    is_subckt: bool
    header: Statement
    first: int
    last: int
    statements: list = field(default_factory=list)
    model_type: str = ""  # as written, upper case; "" when only AKO gives it
    ako: str = ""  # the model an AKO card copies, upper case
    words: object = None  # unit_words(), once asked for

    @property
    def key(self):
        return self.name.upper()


@dataclass
class ModelFile:
    lines: list
    units: list  # every top-level unit, in file order, duplicates included
    globals: list  # top-level .PARAM and .FUNC statements, in file order
    by_name: dict = field(default_factory=dict)  # upper-case name -> first unit
    duplicates: list = field(default_factory=list)  # names defined again

    def unit_text(self, unit):
        return "\n".join(self.lines[unit.first : unit.last + 1])

    def statement_text(self, statement):
        return "\n".join(self.lines[statement.first : statement.last + 1])


def decode(data):
    """Bytes of a model file as text: every byte kept (Latin-1), CR LF as LF,
    NUL as a space, nothing after an end-of-file mark."""
    text = data.decode("latin-1")
    mark = text.find(END_OF_FILE_MARK)
    if mark >= 0:
        text = text[:mark]
    return text.replace("\r\n", "\n").replace("\0", " ")


def _dollar_word(line):
    stripped = line.lstrip()
    if not stripped.startswith("$"):
        return ""
    return stripped.split(None, 1)[0].upper()


def starts_encrypted_block(line):
    return "ENCSTART" in _dollar_word(line)


def ends_encrypted_block(line):
    return "ENCFINISH" in _dollar_word(line)


def strip_inline_comment(line):
    cut = line.find(";")
    return line if cut < 0 else line[:cut]


def read_statements(lines):
    """The statements of `lines`. Comment lines ("*"), blank lines and the
    lines of encrypted blocks are no statements, and they do not end a
    statement: a "+" line after them still continues it."""
    statements = []
    pieces = []
    first = last = -1
    in_block = False

    def close():
        if first >= 0:
            statements.append(Statement(first, last, " ".join(pieces)))

    for index, line in enumerate(lines):
        if in_block:
            in_block = not ends_encrypted_block(line)
            continue
        if starts_encrypted_block(line):
            in_block = True
            continue
        body = strip_inline_comment(line).strip()
        if not body or body.startswith("*"):
            continue
        if body.startswith("+"):
            if first >= 0:
                pieces.append(body[1:])
                last = index
            continue  # a "+" line with no statement before it is stray
        close()
        first = last = index
        pieces = [body]
    close()
    return statements


def _is_model(keyword):
    return keyword.startswith(".MOD")


def _is_subckt(keyword):
    return keyword.startswith(".SUB")


def _is_ends(keyword):
    return keyword.startswith(".ENDS")


def _is_global(keyword):
    return keyword.startswith(".PARAM") or keyword.startswith(".FUNC")


def _model_header(unit):
    """Fills in the type and AKO reference of a model card: ".MODEL NAME TYPE
    (...)", ".MODEL NAME AKO:OTHER [TYPE] (...)" or "AKO: OTHER"."""
    words = unit.header.words()[2:]
    if words and words[0].upper().startswith("AKO:"):
        ref = words[0][4:]
        rest = words[1:]
        if not ref and rest:
            ref, rest = rest[0], rest[1:]
        unit.ako = ref.upper()
        # A type word may follow the reference; a parameter assignment has
        # been split at "=", so only a known word is taken as the type.
        if rest and rest[0].upper() in KNOWN_MODEL_TYPES:
            unit.model_type = rest[0].upper()
    elif words:
        unit.model_type = words[0].upper()


# Model types whose instance the harness knows how to write (see decks.py),
# and other common ones, so that an AKO card's optional type is recognised.
KNOWN_MODEL_TYPES = frozenset(
    """D NPN PNP LPNP NJF PJF NMOS PMOS RES R CAP C IND L VSWITCH SW ISWITCH CSW
    GASFET CORE UIO DINPUT DOUTPUT UGATE UTGATE UEFF UGFF UWDTH UDLY UPLD UROM
    URAM TRN IGBT VDMOS""".split()
)


def split_units(lines):
    """The top-level units and the top-level .PARAM/.FUNC statements."""
    units = []
    globals_ = []
    open_unit = None
    depth = 0
    for statement in read_statements(lines):
        keyword = statement.keyword()
        if open_unit is not None:
            open_unit.statements.append(statement)
            open_unit.last = statement.last
            if _is_subckt(keyword):
                depth += 1
            elif _is_ends(keyword):
                depth -= 1
                if depth == 0:
                    open_unit = None
            continue
        words = statement.words()
        if _is_subckt(keyword) and len(words) >= 2:
            open_unit = Unit(words[1], True, statement, statement.first, statement.last, [statement])
            units.append(open_unit)
            depth = 1
        elif _is_model(keyword) and len(words) >= 2:
            unit = Unit(words[1], False, statement, statement.first, statement.last, [statement])
            _model_header(unit)
            units.append(unit)
        elif _is_global(keyword):
            globals_.append(statement)
    return units, globals_


def parse(data):
    """A ModelFile from the bytes of a file."""
    lines = decode(data).split("\n")
    units, globals_ = split_units(lines)
    model_file = ModelFile(lines, units, globals_)
    for unit in units:
        if unit.key in model_file.by_name:
            model_file.duplicates.append(unit.name)
        else:
            model_file.by_name[unit.key] = unit
    return model_file


def read(path):
    with open(path, "rb") as handle:
        return parse(handle.read())


def unit_words(unit):
    """The upper-case words of a unit's statements; "AKO:NAME" and other
    words with a colon also give the part after it."""
    if unit.words is not None:
        return unit.words
    words = set()
    for statement in unit.statements:
        for word in statement.words():
            upper = word.upper()
            words.add(upper)
            colon = upper.rfind(":")
            if 0 <= colon < len(upper) - 1:
                words.add(upper[colon + 1 :])
    unit.words = words
    return words


def pulled_in(model_file, unit):
    """The units a deck for `unit` needs: the unit and every top-level unit
    one of them names, transitively, in file order."""
    seen = {unit.key: unit}
    todo = [unit]
    while todo:
        current = todo.pop()
        for word in unit_words(current):
            other = model_file.by_name.get(word)
            if other is not None and word not in seen:
                seen[word] = other
                todo.append(other)
    return sorted(seen.values(), key=lambda u: u.first)


def model_kind(model_file, unit):
    """A model card's type, following AKO references for a card that gives
    none; "" when the chain ends nowhere or loops."""
    visited = set()
    current = unit
    while not current.model_type and current.ako and current.key not in visited:
        visited.add(current.key)
        current = model_file.by_name.get(current.ako)
        if current is None or current.is_subckt:
            return ""
    return current.model_type
