"""Reading ngspice's output: the voltages, the comparison, the reasons."""

import pytest

import failure_reasons
import ngspice_run
import report


def test_read_values_takes_print_all_lines_only():
    output = (
        "Circuit: * deck\n"
        "Trying gmin =   1.0000E-03 Note: One successful gmin step\n"
        "No. of Data Rows : 1\n"
        "a$poly$e.x1.x1.efb#branch_1_0 = -7.71943e-13\n"
        "p1 = 1.300000e+00\n"
        "P2 = -1.00000e-01\n"
        "x1.x1.100 = 7.4\n"
        "netlist line no. 1 = something else\n"
    )
    assert ngspice_run.read_values(output) == {
        "a$poly$e.x1.x1.efb#branch_1_0": -7.71943e-13,
        "p1": 1.3,
        "p2": -0.1,
        "x1.x1.100": 7.4,
    }


@pytest.mark.parametrize(
    "a, b, agrees",
    [
        (1.0, 1.0009, True),  # within 1e-3 relative
        (1.0, 1.0011, False),
        (0.0, 9e-7, True),  # within 1 uV absolute near zero
        (0.0, 2e-6, False),
        (-2.0, 2.0, False),
        (-1000.0, -1000.9, True),
    ],
)
def test_voltage_agrees(a, b, agrees):
    assert report.voltage_agrees(a, b) is agrees
    assert report.voltage_agrees(b, a) is agrees


def test_voltages_agree_needs_every_pin_on_both_sides():
    assert report.voltages_agree({"p1": 1.0, "p2": 2.0}, {"p1": 1.0, "p2": 2.0}, ["p1", "p2"])
    assert not report.voltages_agree({"p1": 1.0}, {"p1": 1.0, "p2": 2.0}, ["p1", "p2"])
    assert not report.voltages_agree({"p1": 1.0, "p2": 2.1}, {"p1": 1.0, "p2": 2.0}, ["p1", "p2"])


# Outputs as ngspice 39 prints them (cut down), and the reason each names.
CLASSIFIED = [
    (
        "Netlist line no. 1:\nUndefined parameter [philips]\nNetlist line no. 1:\nCannot compute substitute\n\n"
        "ERROR: fatal error in ngspice, exit(1)\n",
        ("undefined parameter", "philips"),
    ),
    (
        "warning, can't find model 'dr' from line\n    dz 3 1 dr\nError on line:\n  d.x1.dz x1.3 p1 dr\n"
        "could not find a valid modelname\n    Simulation interrupted due to error!\n",
        ("model not found", "dr"),
    ),
    (
        "Error on line:\n  s.x1.sbg x1.100 x1.101 p1 p3 sbg1\nUnable to find definition of model sbg1\n",
        ("model not found", "sbg1"),
    ),
    (
        "Error on line:\n  c.x1.c1 x1.2 x1.3 x1:cmod1 5.3e-003\n  unknown parameter (x1:cmod1)\n",
        ("unknown parameter", "cmod1"),
    ),
    (
        "Error: no such function 'if'\nError on line:\n  b.x1.be_b1 x1.e 0 v= if ( v(p1) > v(p2) , 5 , 0 )\n"
        "parameter value out of range or the wrong type\n",
        ("no such function 'if'", ""),
    ),
    (
        "Netlist line no. 0:\nSyntax error: letter [{]\n Expression err: -0.65*{-0.00148*temp+1.037}}\n",
        ("expression syntax error: letter [{]", ""),
    ),
    (
        "Warning: Dynamic gmin stepping failed\nWarning: source stepping failed\n"
        "doAnalyses: OP:  Timestep too small; trouble with x1:dbreak-instance d.x1.d1\nop simulation(s) aborted\n",
        ("no convergence: timestep too small", ""),
    ),
    (
        "Error: Missing token in line 24:\ncc186f56ccd016ce15d258e3d2f529127aaac292f04ff0a513552c30c6732706\n",
        ("missing token (bad syntax)", ""),
    ),
    (
        "Error: Missing token in e_rja 20 10 table {time} (0.1, 1) (1, 2)\n",
        ("missing token in an element line (e)", ""),
    ),
    (
        "Error: unknown subckt: x1 p1 p2 x1.pnp_bebr x1.qmodel={qmodel*10+bc857c} dmodel={dmodel}\n",
        ("unknown subcircuit", "pnp_bebr"),
    ),
    ("Error: unexpected thing 'abc' in line 12\n", ("error: unexpected thing '<name>' in line N", "")),
    ("Circuit: * deck\n", ("no operating point printed", "")),
]


@pytest.mark.parametrize("output, expected", CLASSIFIED)
def test_failure_reasons(output, expected):
    assert failure_reasons.classify(output) == expected
