"""Import PSpice-dialect circuit model files with libzav, from Python.

    import zav

    with zav.import_file("opamps.lib") as result:
        for model in result.models:
            print(model.name, model.kind, model.start_line, len(model.text))
        for diagnostic in result.diagnostics:
            print(diagnostic.line, diagnostic.severity, diagnostic.code, diagnostic.message)

The module drives the shared library through its exported C functions (ctypes,
no compile step), exactly as any host does: the model texts and diagnostic
texts are the library's, byte for byte, decoded as Latin-1 so that every byte
of the file survives (``text.encode("latin-1")`` gives the bytes back).

The library is looked for, in this order: the path in the environment variable
ZAV_LIBRARY; beside an installed copy of this module (``cmake --install``
records where); the build folder of the source tree this file sits in; the
system's library path.

The library keeps one list of diagnostics for the whole process and one cursor
over it, so imports run one at a time (a lock sees to it) and each import
reads back only the diagnostics it added.
"""

from __future__ import annotations

import ctypes
import ctypes.util
import os
import re
import threading
import weakref
from dataclasses import dataclass
from typing import Iterator, List, Optional, Sequence

__all__ = [
    "Diagnostic",
    "Import",
    "Model",
    "ZavError",
    "import_file",
    "load_library",
]

__version__ = "0.1.0"

_STATUS_OK = 0
_STATUS_END_OF_DATA = 1
_INFO_LENGTH = 0
_INFO_TEXT = 1
_STYLE_PSPICE = 0


class ZavError(Exception):
    """The library could not be loaded, or refused a call."""


# ---------------------------------------------------------------------------
# Messages
# ---------------------------------------------------------------------------

# The library's message catalogue, by code: severity and format (each %s stands
# for a value). A diagnostic's code is the row whose format gives its message.
# The file-level errors (codes 0 to 4 and 41) are reported as "error".
_CATALOGUE = (
    ("error", "Unexpected End-of-File"),
    ("error", "Can't open file: %s for reading"),
    ("error", "Can't read input file: %s"),
    ("error", "Can't close file: %s"),
    ("error", "Cannot find any valid models in the file."),
    ("error", "Unexpected end-of-card. Could not get the first token."),
    ("error", 'Unexpected token in card "%s"'),
    ("error", "This line is unexpected in this context"),
    ("error", "Unknown card type. It will be converted to a comment"),
    ("error", "Unknown control card. It will be converted to a comment"),
    ("error", "Unknown element card. It will be converted to a comment"),
    ("error", "Unknown model card. It will be converted to a comment"),
    ("error", "Invalid %s string or character. Could not determine the type of this token."),
    ("error", "This element is not in a subcircuit. This card will be turned into a comment"),
    ("error", "can't find subcircuit %s .ends card"),
    ("error", "This card is unexpected in this context."),
    ("error", "Should not ever get this. .MODEL Card does not have .MODEL keyword"),
    ("error", "Model card does not have a name. This card will be turned into a comment"),
    ("error", "Model card does not have a model type identifier"),
    ("error", 'This MOSFET Model has a level "%s" that cannot be translated.\nThe card will be turned into a comment'),
    ("error", '"%s" is an invalid %s name'),
    ("error", "Value for %s is missing"),
    ("error", '"%s" is not a numeric value. This card will be converted to a comment'),
    ("warning", '"%s" is not a supported model parameter. It will be converted to a comment'),
    ("error", '"%s" is not a recognized model parameter. It will be converted to a comment'),
    ("error", 'Unknown action for the "%s" parameter. It will be converted to a comment'),
    ("warning", 'There are no elements that reference the "%s" model,\n'
                ' so the "%s" parameter cannot be moved. It will be converted to a comment'),
    ("info", 'The "%s" parameter is being added to the device "%s" as "%s"'),
    ("error", 'The MOSFET model "%s" is in a subcircuit,\nand has L and/or W specified, but is not referenced.\n'
              "The parameters cannot be updated to an instance"),
    ("error", "Element card does not have a name. This card will be turned into a comment"),
    ("error", "This element card does not have enough pins. It will be turned into a comment"),
    ("error", 'This element card has the invalid pin name "%s". It will be turned into a comment'),
    ("error", "This element card requires a model name, and does not have one. It will be turned into a comment"),
    ("error", "This element card does not have enough tokens, so is presumed invalid. It will be turned into a comment"),
    ("error", "This element card uses a form that is not supported. It will be turned into a comment"),
    ("error", 'Cannot find "%s" reference model for "%s"'),
    ("error", "The model type of the %s model and the AKO model %s must be the same"),
    ("warning", "The model contains an encrypted block that is passed through unchanged"),
    ("info", "The file ends at an end-of-file mark; %s bytes after it were not read"),
    ("info", 'The model type "%s" is already in the host\'s form. The model "%s" is taken as already translated'),
    ("warning", "The file contains NUL bytes, the first on this line. Each was replaced by a space"),
    ("error", "Not enough memory to import file: %s (%s bytes)"),
    ("info", "The expression is rewritten in ngspice's spelling: %s"),
    ("warning", 'The function "%s" has no equivalent in ngspice. The expression is kept as written'),
    ("info", "The commas between the parameter assignments were removed; ngspice does not read them"),
    ("info", '"%s" is written "%s" for ngspice'),
    ("info", 'The model type "%s" is written "%s" for ngspice'),
    ("info", "The MOSFET level %s is written as ngspice's %s"),
    ("info", "\"%s\" and \"%s\" are written as ngspice's threshold and hysteresis: %s"),
    ("info", "\"%s\" is written with the value %s that the model takes by default; ngspice's default differs"),
    ("info", 'The switch turns on below "%s" and off above "%s": its on and off resistances are swapped for ngspice'),
    ("info", 'The model type "%s" is already in ngspice\'s form. The model "%s" is taken as already translated'),
)

# A diagnostic text is at most this long; a longer one was cut short.
_MAX_DIAGNOSTIC_LENGTH = 511


def _exact_pattern(fmt: str) -> "re.Pattern[str]":
    # Each conversion stands for any run of characters.
    return re.compile(".*".join(re.escape(piece) for piece in re.split(r"%.", fmt)) + r"\Z", re.DOTALL)


def _begins_format(fmt: str, text: str) -> bool:
    """True when `text` matches the format cut short anywhere: a glob match in
    which running out of text before the format ends still matches."""
    f = t = 0
    star_format = -1
    star_text = 0
    while t < len(text):
        if f + 1 < len(fmt) and fmt[f] == "%":
            f += 2
            star_format = f
            star_text = t
            continue
        if f < len(fmt) and fmt[f] == text[t]:
            f += 1
            t += 1
            continue
        if star_format < 0:
            return False
        f = star_format
        star_text += 1
        t = star_text
    return True


_EXACT = [(severity, _exact_pattern(fmt)) for severity, fmt in _CATALOGUE]


def _message_code(severity: str, message: str, maybe_truncated: bool) -> Optional[int]:
    for code, (row_severity, pattern) in enumerate(_EXACT):
        if row_severity == severity and pattern.match(message):
            return code
    if maybe_truncated:
        for code, (row_severity, fmt) in enumerate(_CATALOGUE):
            if row_severity == severity and _begins_format(fmt, message):
                return code
    return None


# ---------------------------------------------------------------------------
# Results
# ---------------------------------------------------------------------------


@dataclass(frozen=True)
class Diagnostic:
    """One diagnostic of an import.

    line: the input line it is about (numbered from 1), or None.
    severity: "info", "warning" or "error".
    code: the number of its message in the library's catalogue, or None.
    message: the message alone (no line header, severity or final period).
    text: the library's own text of the diagnostic, exactly.
    """

    line: Optional[int]
    severity: str
    code: Optional[int]
    message: str
    text: str


_SEVERITY_PREFIXES = (("info -- ", "info"), ("warning -- ", "warning"), ("error -- ", "error"))
_LINE_HEADER = re.compile(r"Line (\d+):\n\t")


def _parse_diagnostic(text: str) -> Diagnostic:
    rest = text
    line = None
    header = _LINE_HEADER.match(rest)
    if header:
        line = int(header.group(1))
        # The quoted line holds no line feed of its own: the first one after
        # the tab ends the header.
        end = rest.find("\n", header.end())
        rest = "" if end < 0 else rest[end + 1:]
    severity = "error"
    for prefix, name in _SEVERITY_PREFIXES:
        if rest.startswith(prefix):
            severity = name
            rest = rest[len(prefix):]
            break
    complete = rest.endswith(".\n")
    if complete:
        rest = rest[:-2]
    maybe_truncated = not complete or len(text) + 2 >= _MAX_DIAGNOSTIC_LENGTH
    return Diagnostic(line, severity, _message_code(severity, rest, maybe_truncated), rest, text)


class Model:
    """One imported model: a .MODEL card or a .SUBCKT block.

    name: its name as written.
    kind: the model type in the translated text ("NPN", "D", "R" for a
        resistor model written RES), or "subckt" for a subcircuit.
    text: the translated text, exactly as the library gives it.
    start_line: the input line where its statement starts, or None when the
        file no longer holds it.
    """

    __slots__ = ("_import", "_handle", "_text", "_start_line")

    def __init__(self, owner: "Import", handle: int) -> None:
        self._import = owner
        self._handle = handle
        self._text: Optional[str] = None
        self._start_line: Optional[int] = None

    @property
    def text(self) -> str:
        if self._text is None:
            self._text = self._import._model_text(self._handle)
        return self._text

    @property
    def name(self) -> str:
        return _statement_words(self.text)[1]

    @property
    def kind(self) -> str:
        return _statement_words(self.text)[2]

    @property
    def start_line(self) -> Optional[int]:
        self._import._locate_statements()
        return self._start_line

    def __repr__(self) -> str:
        return "<zav.Model {} {} line {}>".format(self.name, self.kind, self.start_line)


class Import:
    """The result of one import; ends the library's session when closed.

    Use it as a context manager, or call close(). The diagnostics are read at
    once; a model's text is read from the library when first asked for and
    kept, so texts not read before close() cannot be read afterwards.
    """

    def __init__(self, library: "_Library", path: str, session: int, handles: List[int],
                 diagnostics: List[Diagnostic]) -> None:
        self.path = path
        self._library = library
        self._session = session
        self.models: List[Model] = [Model(self, handle) for handle in handles]
        self.diagnostics: List[Diagnostic] = diagnostics
        self._located = False
        self._finalizer = weakref.finalize(self, library.end_import, session)

    @property
    def closed(self) -> bool:
        return not self._finalizer.alive

    def close(self) -> None:
        """Ends the session: its models' texts are no longer available."""
        self._finalizer()

    def __enter__(self) -> "Import":
        return self

    def __exit__(self, *exc_info: object) -> None:
        self.close()

    def __iter__(self) -> Iterator[Model]:
        return iter(self.models)

    def __len__(self) -> int:
        return len(self.models)

    def __repr__(self) -> str:
        state = "closed" if self.closed else "open"
        return "<zav.Import {!r}: {} models, {} diagnostics, {}>".format(
            self.path, len(self.models), len(self.diagnostics), state)

    def _model_text(self, handle: int) -> str:
        if self.closed:
            raise ZavError("the import of {} is closed: read model texts before close()".format(self.path))
        return self._library.model_text(handle)

    def _locate_statements(self) -> None:
        if self._located:
            return
        texts = [model.text for model in self.models]
        for model, line in zip(self.models, _statement_lines(self.path, texts)):
            model._start_line = line
        self._located = True


# ---------------------------------------------------------------------------
# Reading facts back from the texts
# ---------------------------------------------------------------------------

_SEPARATORS = re.compile(r"[\s(),=]+")


def _lines(text: str, at: int = 0) -> Iterator[str]:
    while at < len(text):
        end = text.find("\n", at)
        end = len(text) if end < 0 else end + 1
        yield text[at:end]
        at = end


def _statement_index(text: str) -> int:
    """Where the model's statement line starts in its text: the first line
    that begins with its .MODEL or .SUBCKT keyword. Comment lines, and lines
    the reader could not classify, may come before it."""
    at = 0
    for line in _lines(text):
        if line.lstrip(" \t\r\f\v").startswith("."):
            return at
        at += len(line)
    return len(text)


def _live_ends_lines(text: str) -> int:
    """The .ENDS statements of a subcircuit's text (not those turned into
    comments): the input lines that close it and what it holds."""
    return sum(1 for line in _lines(text) if line.lstrip(" \t\r\f\v")[:5].upper() == ".ENDS")


def _statement_words(text: str) -> Sequence[str]:
    """Keyword, name and kind of the statement: words across its
    continuation lines, comment lines and inline comments skipped; an AKO:
    reference left in the text is not the type."""
    words: List[str] = []
    first = True
    for line in _lines(text, _statement_index(text)):
        if len(words) >= 5:
            break
        stripped = line.lstrip(" \t\r\f\v")
        if not stripped or stripped[0] in "*;\n":
            continue
        if not first and stripped[0] != "+":
            break
        if not first:
            stripped = stripped[1:]
        first = False
        words.extend(word for word in _SEPARATORS.split(stripped.split(";", 1)[0]) if word)
    keyword = words[0] if words else ""
    name = words[1] if len(words) > 1 else ""
    if keyword.upper().startswith(".SU"):
        return keyword, name, "subckt"
    rest = words[2:]
    if rest and rest[0].upper().startswith("AKO:"):
        rest = rest[2:] if rest[0].upper() == "AKO:" else rest[1:]
    return keyword, name, rest[0] if rest else ""


# The reader's numbering: a line is at most this many characters with its line
# feed; a longer physical line counts as several.
_MAX_PIECE = 511
_NAME_END = frozenset(b" \t\r\n\f\v(),=;")


def _pieces(data: bytes) -> Iterator[bytes]:
    at = 0
    size = len(data)
    while at < size:
        lf = data.find(b"\n", at, at + _MAX_PIECE)
        end = lf + 1 if lf >= 0 else min(at + _MAX_PIECE, size)
        yield data[at:end]
        at = end


def _statement_prefix(text: str) -> bytes:
    """The statement line's text through the model's name: what the input
    line starts with, however the rest of the card was translated."""
    at = _statement_index(text)
    end = text.find("\n", at)
    line = text[at:] if end < 0 else text[at:end]
    match = re.match(r"[ \t]*\S+[ \t]+[^\s(),=;]+", line)
    return (match.group(0) if match else line.rstrip()).encode("latin-1")


def _statement_lines(path: str, texts: Sequence[str]) -> List[Optional[int]]:
    """The input line of each model's statement. The models come in file
    order, so one pass over the file's lines finds them all."""
    found: List[Optional[int]] = [None] * len(texts)
    if not texts:
        return found
    try:
        with open(path, "rb") as file:
            data = file.read()
    except OSError:
        return found
    # The reader drops a CR before a LF and turns NUL bytes into blanks.
    data = data.replace(b"\r\n", b"\n").replace(b"\0", b" ")
    pieces = list(_pieces(data))
    position = 0
    for index, text in enumerate(texts):
        prefix = _statement_prefix(text)
        if not prefix:
            continue
        for number in range(position, len(pieces)):
            piece = pieces[number]
            if piece.startswith(prefix) and (len(piece) == len(prefix) or piece[len(prefix)] in _NAME_END):
                found[index] = number + 1
                position = _skip_ends_lines(pieces, number + 1, _live_ends_lines(text))
                break
    return found


def _skip_ends_lines(pieces: Sequence[bytes], at: int, count: int) -> int:
    """The position after the count-th .ENDS line from `at`: a model inside a
    subcircuit is never the next top-level model, even when it has its name."""
    while count > 0 and at < len(pieces):
        if pieces[at].lstrip(b" \t\r\f\v")[:5].upper() == b".ENDS":
            count -= 1
        at += 1
    return at


# ---------------------------------------------------------------------------
# The library
# ---------------------------------------------------------------------------


class _Library:
    def __init__(self, path: str) -> None:
        self.path = path
        self.dll = ctypes.CDLL(path)
        c_int_p = ctypes.POINTER(ctypes.c_int)
        c_void_pp = ctypes.POINTER(ctypes.c_void_p)
        c_uint_p = ctypes.POINTER(ctypes.c_uint)
        signatures = {
            "ZAV_PerformImport": [ctypes.c_char_p, ctypes.c_int, c_void_pp, c_int_p],
            "ZAV_EndImport": [ctypes.c_void_p, c_int_p],
            "ZAV_GetModelFirst": [ctypes.c_void_p, c_void_pp, c_int_p],
            "ZAV_GetModelNext": [ctypes.c_void_p, c_void_pp, c_int_p],
            "ZAV_GetModelInfo": [ctypes.c_void_p, ctypes.c_int, ctypes.c_void_p, c_uint_p, c_int_p],
            "ZAV_GetErrorCount": [ctypes.c_void_p, c_int_p],
            "ZAV_GetErrorFirst": [ctypes.c_void_p, c_void_pp, c_int_p],
            "ZAV_GetErrorNext": [ctypes.c_void_p, c_void_pp, c_int_p],
            "ZAV_GetErrorInfo": [ctypes.c_void_p, ctypes.c_int, ctypes.c_void_p, c_uint_p, c_int_p],
        }
        for name, argtypes in signatures.items():
            function = getattr(self.dll, name)
            function.argtypes = argtypes
            function.restype = ctypes.c_int
        self.lock = threading.Lock()
        # Every diagnostic handle seen so far: the list only grows, and the
        # new handles of an import are those not in here.
        self.known: set = set()

    def _info(self, function, handle: int) -> str:
        status = ctypes.c_int(_STATUS_OK)
        length = ctypes.c_int(0)
        size = ctypes.c_uint(4)
        if not function(handle, _INFO_LENGTH, ctypes.byref(length), ctypes.byref(size), ctypes.byref(status)):
            raise ZavError("the library gave no length (status {})".format(status.value))
        buffer = ctypes.create_string_buffer(length.value + 1)
        size = ctypes.c_uint(length.value + 1)
        if not function(handle, _INFO_TEXT, buffer, ctypes.byref(size), ctypes.byref(status)):
            raise ZavError("the library gave no text (status {})".format(status.value))
        return buffer.raw[:length.value].decode("latin-1")

    def model_text(self, handle: int) -> str:
        with self.lock:
            return self._info(self.dll.ZAV_GetModelInfo, handle)

    def _diagnostic_handles(self) -> List[int]:
        handles = []
        status = ctypes.c_int(_STATUS_OK)
        handle = ctypes.c_void_p()
        more = self.dll.ZAV_GetErrorFirst(None, ctypes.byref(handle), ctypes.byref(status))
        while more:
            handles.append(handle.value)
            more = self.dll.ZAV_GetErrorNext(None, ctypes.byref(handle), ctypes.byref(status))
        return handles

    def _count(self) -> int:
        count = ctypes.c_int(0)
        self.dll.ZAV_GetErrorCount(None, ctypes.byref(count))
        return count.value

    def perform_import(self, path: bytes):
        with self.lock:
            if self._count() != len(self.known):
                self.known.update(self._diagnostic_handles())
            status = ctypes.c_int(_STATUS_OK)
            session = ctypes.c_void_p()
            if not self.dll.ZAV_PerformImport(path, _STYLE_PSPICE, ctypes.byref(session), ctypes.byref(status)):
                return None, [], []
            models = []
            handle = ctypes.c_void_p()
            more = self.dll.ZAV_GetModelFirst(session, ctypes.byref(handle), ctypes.byref(status))
            while more:
                models.append(handle.value)
                more = self.dll.ZAV_GetModelNext(session, ctypes.byref(handle), ctypes.byref(status))
            texts = []
            if self._count() != len(self.known):
                for value in self._diagnostic_handles():
                    if value not in self.known:
                        self.known.add(value)
                        texts.append(self._info(self.dll.ZAV_GetErrorInfo, value))
            return session.value, models, texts

    def end_import(self, session: int) -> None:
        with self.lock:
            status = ctypes.c_int(_STATUS_OK)
            self.dll.ZAV_EndImport(session, ctypes.byref(status))


_library: Optional[_Library] = None
_library_lock = threading.Lock()


def _candidates() -> Iterator[str]:
    configured = os.environ.get("ZAV_LIBRARY")
    if configured:
        yield configured
        return
    here = os.path.dirname(os.path.abspath(__file__))
    try:
        from . import _installed  # written by cmake --install
    except ImportError:
        _installed = None
    if _installed is not None:
        yield os.path.normpath(os.path.join(here, _installed.LIBRARY_DIR, _installed.LIBRARY_NAME))
    source_root = os.path.dirname(os.path.dirname(here))
    yield os.path.join(source_root, "build", "libzav.so")
    found = ctypes.util.find_library("zav")
    if found:
        yield found


def load_library(path: Optional[str] = None) -> str:
    """Loads libzav (from `path`, or from where the module looks by default)
    and returns the path it was loaded from. Called by import_file when
    needed; a second call with another path does not replace the library."""
    global _library
    with _library_lock:
        if _library is not None:
            return _library.path
        tried = []
        for candidate in ([path] if path else _candidates()):
            if os.path.sep in candidate and not os.path.exists(candidate):
                tried.append(candidate)
                continue
            try:
                _library = _Library(candidate)
                return candidate
            except OSError as error:
                tried.append("{} ({})".format(candidate, error))
        raise ZavError("cannot load libzav; tried: {}. Set ZAV_LIBRARY to the library's path".format(
            ", ".join(tried) or "nothing"))


def import_file(path: "os.PathLike[str] | str | bytes") -> Import:
    """Imports one model file and returns its models and diagnostics.

    Raises FileNotFoundError, IsADirectoryError or PermissionError for a path
    that cannot be read as a file, TypeError for an argument that is not a
    path, and ZavError when the library cannot be loaded or refuses the file.
    """
    if not isinstance(path, (str, bytes, os.PathLike)):
        raise TypeError("import_file() takes a path (str, bytes or os.PathLike), not {}".format(type(path).__name__))
    encoded = os.fsencode(path)
    shown = os.fsdecode(encoded)
    if b"\0" in encoded:
        raise ValueError("the path holds a NUL character: {!r}".format(shown))
    if os.path.isdir(encoded):
        raise IsADirectoryError(21, "Is a directory", shown)
    with open(encoded, "rb"):  # the library says only "bad argument"; this says why
        pass
    load_library()
    assert _library is not None
    session, handles, texts = _library.perform_import(encoded)
    if session is None:
        raise ZavError("the library cannot read {}".format(shown))
    return Import(_library, shown, session, handles, [_parse_diagnostic(text) for text in texts])
