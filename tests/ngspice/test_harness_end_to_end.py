"""The harness as a whole: through real ngspice when it is installed, and
its timeout and exit status through a stand-in that hangs."""

import csv
import os
import shutil
import stat
import time

import pytest

import ngspice_harness
import ngspice_run

LIBRARY = """* a small vendor library
.MODEL DSMALL D(IS=1e-14 N=1.05 RS=10)
.SUBCKT CLAMP A K PARAMS: RSER=100
R1 A 1 {RSER}
D1 1 K DSMALL
.ENDS CLAMP
.SUBCKT BROKEN A K
D1 A K DMISSING
.ENDS
"""


def executable(path, text):
    path.write_text(text)
    path.chmod(path.stat().st_mode | stat.S_IXUSR)
    return str(path)


@pytest.fixture
def corpus(tmp_path):
    directory = tmp_path / "corpus"
    directory.mkdir()
    (directory / "small.lib").write_text(LIBRARY)
    (directory / "README.md").write_text("no model file\n")
    return directory


@pytest.fixture
def copying_converter(tmp_path):
    # Stands in for zav-import: copies the input to the output unchanged.
    return executable(tmp_path / "convert", '#!/bin/sh\nfor last; do :; done\neval "cp \\"\\${$(($# - 2))}\\" \\"$last\\""\n')


def read_rows(output):
    with open(output / "units.tsv", encoding="utf-8") as handle:
        return {row["unit"]: row for row in csv.DictReader(handle, delimiter="\t")}


@pytest.mark.skipif(shutil.which("ngspice") is None, reason="ngspice is not installed")
def test_three_sides_through_ngspice(corpus, copying_converter, tmp_path):
    output = tmp_path / "out"
    status = ngspice_harness.main(
        [str(corpus), "-o", str(output), "--zav-import", copying_converter, "--target", "none", "-j", "2",
         "--keep-failing"]
    )
    assert status == 0
    rows = read_rows(output)
    assert list(rows) == ["DSMALL", "CLAMP", "BROKEN"]
    for unit in ("DSMALL", "CLAMP"):
        assert [rows[unit][f"{side} status"] for side in ngspice_harness.SIDES] == ["converged"] * 3
        assert rows[unit]["agree"] == "yes"
    assert rows["BROKEN"]["zav status"] == "failed"
    assert rows["BROKEN"]["zav reason"] == "model not found"
    assert rows["BROKEN"]["zav detail"] == "dmissing"
    assert (output / "failing" / "zav" / "small.lib" / "BROKEN" / "ngspice.out").is_file()
    report = (output / "report.md").read_text()
    assert "| zav | 3 | 2 (66.7 %) | 1 | 0 | 0 | 0 |" in report
    assert "Pin voltages agree (zav against vendor-ps, where both converge): 2 (100.0 %)." in report
    assert report.endswith("## Top failure reasons of zav where vendor-ps converges\n\nnone\n")


def test_hanging_ngspice_is_killed_with_its_children(tmp_path):
    pid_file = tmp_path / "child.pid"
    hanging = executable(tmp_path / "ngspice", f"#!/bin/sh\nsleep 60 &\necho $! > {pid_file}\nwait\n")
    start = time.monotonic()
    result = ngspice_run.run(hanging, str(tmp_path), "deck.cir", "plain", 0.5)
    assert result.status == "timeout"
    assert time.monotonic() - start < 10
    child = int(pid_file.read_text())
    for _ in range(100):  # the child, reparented, is reaped soon after
        if not os.path.exists(f"/proc/{child}") or "Z" in open(f"/proc/{child}/stat").read().split()[2]:
            break
        time.sleep(0.05)
    else:
        pytest.fail("the hanging ngspice's child survived")


def test_zav_timeout_fails_the_run_unless_known(corpus, copying_converter, tmp_path):
    hanging = executable(tmp_path / "ngspice", "#!/bin/sh\nexec sleep 60\n")
    output = tmp_path / "out"
    status = ngspice_harness.main(
        [str(corpus), "-o", str(output), "--zav-import", copying_converter, "--target", "none",
         "--ngspice", hanging, "--timeout", "0.3", "--sides", "zav", "--subset", "2"]
    )
    assert status == 1
    rows = read_rows(output)
    assert list(rows) == ["DSMALL", "CLAMP"]
    assert {row["zav status"] for row in rows.values()} == {"timeout"}

    known = tmp_path / "known.tsv"
    known.write_text("# hangs\nsmall.lib\tdsmall\nsmall.lib\tCLAMP\n")
    status = ngspice_harness.main(
        [str(corpus), "-o", str(output), "--zav-import", copying_converter, "--target", "none",
         "--ngspice", hanging, "--timeout", "0.3", "--sides", "zav", "--subset", "2", "--known-timeouts", str(known)]
    )
    assert status == 0
    assert "Known timeouts (--known-timeouts) in this run: 2, 2 still time out." in (output / "report.md").read_text()
