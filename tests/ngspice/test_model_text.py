"""The harness's own reader: statements, units, and what a deck pulls in."""

import model_text


def parse(text):
    return model_text.parse(text.encode("latin-1"))


def names(model_file):
    return [unit.name for unit in model_file.units]


def test_continuation_survives_comment_and_blank_lines():
    statements = model_text.read_statements(
        [".MODEL DX D(IS=1e-14 ; saturation current", "* a comment", "", "+ N=1.5)", "+ ; only a comment"]
    )
    assert len(statements) == 1
    assert (statements[0].first, statements[0].last) == (0, 4)
    assert statements[0].words() == [".MODEL", "DX", "D", "IS", "1e-14", "N", "1.5"]


def test_stray_continuation_line_is_no_statement():
    assert model_text.read_statements(["+ N=1", ".MODEL A D"])[0].first == 1


def test_units_nested_blocks_and_keyword_forms():
    model_file = parse(
        ".subckt OUTER 1 2\n"
        ".SUB INNER a b\n"
        ".model DI d\n"
        ".ENDS INNER\n"
        "R1 1 2 1k\n"
        ".ends\n"
        ".Mod DTOP D(IS=1n)\n"
        ".SUBCKT LAST 1\n"
        ".END\n"  # not .ENDS: the block stays open
        ".ENDSX\n"
    )
    assert names(model_file) == ["OUTER", "DTOP", "LAST"]
    outer = model_file.units[0]
    assert (outer.first, outer.last) == (0, 5)
    assert model_file.units[2].last == 9
    assert "DI" not in model_file.by_name


def test_encrypted_block_is_opaque_text():
    model_file = parse(
        ".SUBCKT ENC 1 2 PARAMS: A=1\n"
        "$CDNENCSTART_ADV2\n"
        ".ENDS\n"
        ".MODEL HIDDEN D\n"
        "+ IS=1\n"
        "$CDNENCFINISH_ADV2\n"
        ".ENDS ENC\n"
        ".MODEL AFTER D\n"
    )
    assert names(model_file) == ["ENC", "AFTER"]
    assert model_file.units[0].last == 6


def test_decode_line_ends_nul_and_end_of_file_mark():
    model_file = model_text.parse(b".MODEL A D(IS=1)\r\n.MODEL\0B D\r\n\x1a.MODEL C D\n")
    assert names(model_file) == ["A", "B"]
    assert model_file.lines[0] == ".MODEL A D(IS=1)"


def test_first_definition_wins_and_globals_are_top_level_only():
    model_file = parse(
        ".PARAM X=1\n.SUBCKT S 1\n.PARAM LOCAL=2\n.ENDS\n.model d1 D(IS=1)\n.MODEL D1 D(IS=2)\n.FUNC F(a) {a}\n"
    )
    assert model_file.by_name["D1"].header.text == ".model d1 D(IS=1)"
    assert model_file.duplicates == ["D1"]
    assert [s.keyword() for s in model_file.globals] == [".PARAM", ".FUNC"]


def test_model_kind_follows_ako_references():
    model_file = parse(
        ".MODEL BASE NPN(BF=100)\n"
        ".MODEL COPY AKO:BASE (BF=200)\n"
        ".MODEL COPY2 AKO: COPY\n"
        ".MODEL TYPED AKO:BASE PNP\n"
        ".MODEL LOOP1 AKO:LOOP2\n"
        ".MODEL LOOP2 AKO:LOOP1\n"
        ".MODEL NOWHERE AKO:GONE\n"
    )
    kinds = {u.name: model_text.model_kind(model_file, u) for u in model_file.units}
    assert kinds == {"BASE": "NPN", "COPY": "NPN", "COPY2": "NPN", "TYPED": "PNP",
                     "LOOP1": "", "LOOP2": "", "NOWHERE": ""}


def test_pulled_in_is_transitive_case_blind_and_in_file_order():
    model_file = parse(
        ".MODEL QBASE NPN\n"
        ".MODEL UNUSED D\n"
        ".SUBCKT INNER 1 2\n"
        "Q1 1 2 0 qcopy\n"
        ".ENDS\n"
        ".MODEL QCOPY AKO:QBASE\n"
        ".SUBCKT TOP 1 2\n"
        "X1 1 2 inner\n"
        "X2 1 2 TOP\n"  # names itself: no loop
        ".ENDS\n"
    )
    top = model_file.by_name["TOP"]
    assert [u.name for u in model_text.pulled_in(model_file, top)] == ["QBASE", "INNER", "QCOPY", "TOP"]
