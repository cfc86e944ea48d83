"""The deck written for a unit: pins, instances by kind, the deck's text."""

import pytest

import decks
import model_text


def parse(text):
    return model_text.parse(text.encode("latin-1"))


def instance(text):
    model_file = parse(text)
    skeleton = decks.skeleton(model_file, model_file.units[-1])
    return None if skeleton is None else skeleton.instance


@pytest.mark.parametrize(
    "header, pins",
    [
        (".SUBCKT OPA IN+ IN- V+ V- OUT PARAMS: GAIN=1 ROUT=2", ["IN+", "IN-", "V+", "V-", "OUT"]),
        (".subckt A 1 2\n+ 3 params:X=1", ["1", "2", "3"]),
        (".SUBCKT DIG A Y OPTIONAL: DPWR=$G_DPWR DGND=$G_DGND PARAMS: MNTYMXDLY=0", ["A", "Y"]),
        (".SUBCKT T 1 2 TEXT: NAME=X", ["1", "2"]),
        (".SUBCKT H 1 2 A=1 B=2", ["1", "2"]),
        (".SUBCKT NONE", []),
    ],
)
def test_subckt_pins(header, pins):
    assert decks.subckt_pins(parse(header + "\n.ENDS\n").units[0].header) == pins


@pytest.mark.parametrize(
    "text, expected",
    [
        (".MODEL DX D(IS=1n)", "D1 p1 p2 DX"),
        (".MODEL Q1 NPN", "Q1 p1 p2 p3 Q1"),
        (".MODEL QB NPN\n.MODEL QC AKO:QB", "Q1 p1 p2 p3 QC"),
        (".MODEL J1 PJF", "J1 p1 p2 p3 J1"),
        (".MODEL M1 NMOS(LEVEL=3 L=2u W=0.5m)", "M1 p1 p2 p3 p4 M1 L=2u W=0.5m"),
        (".MODEL M2 PMOS(VTO=-1 W={WW})", "M1 p1 p2 p3 p4 M2 L=100u W=100u"),
        (".MODEL RM RES(R=1.01)", "R1 p1 p2 1k RM"),
        (".MODEL CM CAP(C=1)", "C1 p1 p2 1n CM"),
        (".MODEL LM IND(L=1)", "L1 p1 p2 1u LM"),
        (".MODEL SM VSWITCH(RON=1)", "S1 p1 p2 p3 p4 SM"),
        (".MODEL WM ISWITCH(ION=1m)", "W1 p1 p2 VCTRL WM"),
        (".SUBCKT S a b PARAMS: X=1\n.ENDS", "X1 p1 p2 S"),
        (".MODEL CORE1 CORE(A=1)", None),
    ],
)
def test_instance_by_kind(text, expected):
    assert instance(text) == expected


def test_pin_voltages_are_distinct_and_never_zero():
    voltages = [decks.pin_voltage(k) for k in range(1, 101)]
    assert len(set(voltages)) == len(voltages)
    assert 0 not in voltages


def test_unit_library_holds_globals_then_pulled_in_units_in_file_order():
    vendor = parse(".PARAM G=2\n.SUBCKT S 1 2\nD1 1 2 DM\n.ENDS\n.MODEL DM D(IS={G*1n})\n.MODEL OTHER D\n")
    assert decks.unit_library(vendor, vendor.units[0]) == (
        ".PARAM G=2\n.SUBCKT S 1 2\nD1 1 2 DM\n.ENDS\n.MODEL DM D(IS={G*1n})\n"
    )
    assert decks.unit_library(parse(".MODEL OTHER D\n"), vendor.units[0]) is None


def test_deck_text_for_a_current_controlled_switch():
    model_file = parse(".MODEL WM CSW(IT=1m)\n")
    skeleton = decks.skeleton(model_file, model_file.units[0])
    assert decks.deck_text("f.lib WM", skeleton) == (
        "* f.lib WM\n"
        ".include unit.lib\n"
        "VP1 n1 0 DC 1.3\n"
        "RP1 n1 p1 1k\n"
        "VP2 n2 0 DC 0.6\n"
        "RP2 n2 p2 1k\n"
        "ICTRL 0 c1 DC 1m\n"
        "VCTRL c1 0 DC 0\n"
        "W1 p1 p2 VCTRL WM\n"
        ".control\n"
        "op\n"
        "print all\n"
        ".endc\n"
        ".end\n"
    )
