// The counts zav-import --summary prints are noted by the import as it goes:
// a parameter renamed on the card that wrote it (not one an AKO reference
// copied), a statement kept as comment lines (once, whatever its
// continuation lines; a stray line that holds no statement not at all).
#include <gtest/gtest.h>

#include <string>

#include "diagnostics/diagnostic_batch.h"
#include "diagnostics/diagnostic_sink.h"
#include "session/import_session.h"
#include "support/temp_file.h"

namespace zav {
namespace {

TEST(ImportStatistics, CountsRenamedParametersAndStatementsKeptAsComments) {
  struct Row {
    const char* library;
    int renamed;
    int turnedIntoComments;
  };
  const Row rows[] = {
      {".MODEL S1 VSWITCH(RON=1 VON=1 VOFF=0)\n", 2, 0},
      // The copies S2 takes from S1 are renamed too, but S2 did not write them.
      {".MODEL S1 VSWITCH(RON=1 VON=1 VOFF=0)\n.MODEL S2 AKO:S1 VSWITCH(RON=2)\n", 2, 0},
      // Before the card it copies from: the copies still do not count.
      {".MODEL S2 AKO:S1 VSWITCH(RON=2 VON=3)\n.MODEL S1 VSWITCH(VOFF=0)\n", 2, 0},
      // Every occurrence counts, in any case.
      {".MODEL W1 ISWITCH(ION=1 IOFF=0 ion=2)\n", 3, 0},
      // A rejected model with its continuation, an element outside any
      // definition; stray lines hold no statement.
      {"+ stray\n[part]\n.MODEL MBAD NMOS(LEVEL=9)\n+ VTO=1\nR1 1 2 1k\n.MODEL D1 D(IS=1)\n", 0, 2},
      // A model type that is no type, a card whose value is no number.
      {".MODEL X1 FOO(A=1)\n.MODEL D2 D(IS=x)\n.MODEL D3 D(IS=1)\n", 0, 2},
      // A LEVEL changed, a parameter moved, a model unused: none counts.
      {".SUBCKT X a b\nR1 a b RM 1\n.MODEL RM RES(R=1 TC1=1)\n.ENDS\n.MODEL MM NMOS(LEVEL=7 VTH0=1)\n", 0, 0},
  };
  for (const Row& row : rows) {
    testing::TempFile file(row.library);
    DiagnosticBatch batch(false);
    ScopedDiagnosticSink filed(batch);
    ImportSession session;
    session.Import(file.path().c_str());
    EXPECT_EQ(session.statistics().renamedParameters, row.renamed) << row.library;
    EXPECT_EQ(session.statistics().cardsTurnedIntoComments, row.turnedIntoComments) << row.library;
  }
}

}  // namespace
}  // namespace zav
