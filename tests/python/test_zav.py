"""The Python module zav against the library it wraps.

The golden cases are what a C host sees through the exports, byte for byte;
the Python view of each must be the same. The facts the module reads back
from the texts (names, kinds, statement lines, message codes) must agree with
what zav-import, which reads them from the library's objects, reports.

Run by CTest with ZAV_LIBRARY, ZAV_IMPORT_BINARY, ZAV_GOLDEN_DIR and (when the
corpus is there) ZAV_CORPUS_DIR set; PYTHONPATH holds python/.
"""

import json
import os
import re
import subprocess
from pathlib import Path

import pytest

import zav

SOURCE_DIR = Path(__file__).resolve().parents[2]
GOLDEN_DIR = Path(os.environ.get("ZAV_GOLDEN_DIR", SOURCE_DIR / "tests" / "golden"))
CORPUS_DIR = Path(os.environ.get("ZAV_CORPUS_DIR", SOURCE_DIR.parent / "shared" / "corpus"))
ZAV_IMPORT = os.environ.get("ZAV_IMPORT_BINARY", str(SOURCE_DIR / "build" / "tools" / "zav-import" / "zav-import"))
EXAMPLE = SOURCE_DIR / "examples" / "mixed_library.lib"


def golden_inputs():
    return sorted(path for path in GOLDEN_DIR.iterdir()
                  if path.suffix not in (".expected", ".md", ".cpp") and not path.name.startswith(".")
                  and path.with_suffix(".expected").exists())


def corpus_inputs():
    if not CORPUS_DIR.is_dir():
        return []
    return sorted(path for path in CORPUS_DIR.iterdir() if path.suffix not in (".md", ".tsv"))


def render_expected(result):
    """The Python view in the format of the .expected files."""
    out = []
    for index, model in enumerate(result.models, 1):
        data = model.text.encode("latin-1")
        out.append(b"==== model %d: %d bytes\n" % (index, len(data)) + data + b"\n")
    out.append(b"==== diagnostics: %d\n" % len(result.diagnostics))
    out.extend(diagnostic.text.encode("latin-1") for diagnostic in result.diagnostics)
    return b"".join(out)


def run_zav_import(*args, cwd):
    return subprocess.run([ZAV_IMPORT, *args], cwd=cwd, capture_output=True, check=False)


@pytest.mark.parametrize("path", golden_inputs(), ids=lambda path: path.name)
def test_golden_case_reads_exactly_as_a_c_host_sees_it(path):
    with zav.import_file(path) as result:
        assert render_expected(result) == path.with_suffix(".expected").read_bytes()


@pytest.mark.parametrize("path", golden_inputs(), ids=lambda path: path.name)
def test_facts_read_back_agree_with_zav_import(path):
    with zav.import_file(path) as result:
        models = [(model.name, model.start_line) for model in result.models]
        diagnostics = [(d.line, d.severity, d.code, d.message) for d in result.diagnostics]

    listed = run_zav_import("--list", "-q", "--fail-on=never", path.name, cwd=path.parent)
    assert listed.returncode == 0, listed.stderr
    rows = [line.split("\t") for line in listed.stdout.decode("latin-1").splitlines()]
    assert models == [(row[0], int(row[2])) for row in rows]

    reported = run_zav_import("--diagnostics=json", "--fail-on=never", path.name, cwd=path.parent)
    objects = [json.loads(line) for line in reported.stderr.decode("utf-8").splitlines()]
    assert diagnostics == [(o["line"], o["severity"], o["code"], o["message"]) for o in objects]


@pytest.mark.skipif(not corpus_inputs(), reason="no corpus beside the project")
@pytest.mark.parametrize("path", corpus_inputs(), ids=lambda path: path.name)
def test_statement_lines_agree_with_zav_import_on_real_libraries(path):
    with zav.import_file(path) as result:
        models = [(model.name, model.start_line) for model in result.models]
        codes = [d.code for d in result.diagnostics]
    listed = run_zav_import("--list", "-q", "--fail-on=never", str(path), cwd=CORPUS_DIR)
    rows = [line.split("\t") for line in listed.stdout.decode("latin-1").splitlines()]
    assert models == [(row[0], int(row[2])) for row in rows]
    assert None not in codes


def test_names_kinds_and_lines_of_the_example():
    with zav.import_file(str(EXAMPLE)) as result:
        assert [(m.name, m.kind, m.start_line) for m in result.models] == [
            ("QGEN", "NPN", 4),
            ("QLAT", "PNP", 6),  # written LPNP: the host gets PNP
            ("QFAST", "NPN", 7),  # its AKO: reference is resolved and commented out
            ("D1N914X", "D", 8),
            ("CTANT", "C", 9),
            ("NCH", "NMOS", 10),
            ("FILTER", "subckt", 12),
        ]
        assert len(result) == 7 and list(result) == result.models


def test_bad_arguments_raise_plain_exceptions(tmp_path):
    cases = [
        (tmp_path / "missing.lib", FileNotFoundError),
        (tmp_path, IsADirectoryError),
        (str(tmp_path / "nul\0.lib"), ValueError),
        (42, TypeError),
        (None, TypeError),
    ]
    for argument, error in cases:
        with pytest.raises(error):
            zav.import_file(argument)


def test_closing_ends_the_session_and_keeps_what_was_read(tmp_path):
    path = tmp_path / "two.lib"
    path.write_bytes(b".MODEL D1 D(IS=1)\n.MODEL D2 D(FOO=1)\n")
    with zav.import_file(path) as result:
        first = result.models[0].text
        assert not result.closed
    assert result.closed
    assert result.models[0].text == first == ".MODEL D1 D(IS=1)\n"
    with pytest.raises(zav.ZavError, match="closed"):
        result.models[1].text
    # Diagnostics are read at the import and stay.
    assert [(d.line, d.severity, d.code) for d in result.diagnostics] == [(2, "error", 24)]
    result.close()  # a second close does nothing


def test_every_byte_survives_as_latin_1(tmp_path):
    raw = b"* \xb5A \xe9t\xe9 \xff\x80\n.MODEL D\xe91 D(IS=1)\n"
    path = tmp_path / "eight_bit.lib"
    path.write_bytes(raw)
    with zav.import_file(path) as result:
        assert result.models[0].text.encode("latin-1") == raw
        assert result.models[0].name == "D\xe91"


def test_each_import_reads_only_its_own_diagnostics(tmp_path):
    one = tmp_path / "one.lib"
    one.write_bytes(b".MODEL D1 D(IS=1 FOO=2)\n.MODEL R1 RES(R=5)\n")
    two = tmp_path / "two.lib"
    two.write_bytes(b"* nothing wrong\n.MODEL D1 D(IS=1)\n")
    first = zav.import_file(one)
    clean = zav.import_file(two)
    again = zav.import_file(one)
    assert [d.text for d in first.diagnostics] == [d.text for d in again.diagnostics]
    assert [(d.line, d.code) for d in first.diagnostics] == [(1, 24), (2, 23)]
    assert clean.diagnostics == []
    for result in (first, clean, again):
        result.close()


def test_message_catalogue_matches_the_library_source():
    """The module's copy of the catalogue, which gives diagnostics their
    codes, row by row against the library's."""
    source = (SOURCE_DIR / "src" / "diagnostics" / "message_catalogue.cpp").read_text()
    rows = re.findall(r'/\*\s*(\d+) \*/ \{S::(\w+), "((?:[^"\\]|\\.)*)"\}', source)
    assert rows, "no catalogue rows found"
    severities = {"FileError": "error", "Error": "error", "Warning": "warning", "Info": "info"}
    library = [(severities[severity], text.replace('\\"', '"').replace("\\n", "\n")) for _, severity, text in rows]
    assert [int(code) for code, _, _ in rows] == list(range(len(rows)))
    assert list(zav._CATALOGUE) == library


@pytest.mark.parametrize("text, want", [
    ("Line 3:\n\t.MODEL D1 D(FOO=1)\nerror -- \"FOO\" is not a recognized model parameter. "
     "It will be converted to a comment.\n", (3, "error", 24)),
    ("error -- Cannot find any valid models in the file..\n", (None, "error", 4)),
    ("warning -- There are no elements that reference the \"M\" model,\n so the \"TC1\" parameter cannot be moved. "
     "It will be converted to a comment.\n", (None, "warning", 26)),
    ("Line 9:\n\t" + "x" * 480 + "\nerror -- Unexpected token in card \"" + "y" * 12, (9, "error", 6)),  # cut short
    ("info -- Nothing the catalogue has.\n", (None, "info", None)),
])
def test_diagnostic_texts_are_taken_apart(text, want):
    diagnostic = zav._parse_diagnostic(text)
    assert (diagnostic.line, diagnostic.severity, diagnostic.code) == want
    assert diagnostic.text == text
