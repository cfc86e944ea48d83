// Every allocation the library makes during an import of a golden input, and
// while it builds the model texts, is made to fail in turn. Each run must
// end with a status (a clean status 2 and the out-of-memory diagnostic when
// the failure reached the host), give the same texts as a clean run wherever
// it succeeded, and leave no block allocated once the session has ended and
// the diagnostics are cleared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "diagnostics/diagnostic_list.h"
#include "failing_allocator.h"
#include "host_run.h"

namespace fs = std::filesystem;
using zav::testing::AllocationPlan;
using zav::testing::HostRun;

namespace {

std::vector<std::string> GoldenInputs() {
  std::vector<std::string> inputs;
  for (const auto& entry : fs::directory_iterator(fs::path(ZAV_TEST_DATA_DIR) / "golden")) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".expected" || ext == ".md" || ext == ".cpp") continue;
    inputs.push_back(entry.path().string());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

std::string OutOfMemoryText(const std::string& path) {
  return "error -- Not enough memory to import file: " + path + " (" + std::to_string(fs::file_size(path)) +
         " bytes).\n";
}

// The failure points to try out of `total`: every one up to `everyUpTo`, then
// a stride that keeps the number of runs near `budget`.
std::vector<int64_t> FailurePoints(int64_t total, int64_t everyUpTo, int64_t budget) {
  std::vector<int64_t> points;
  for (int64_t n = 1; n <= total && n <= everyUpTo; ++n) points.push_back(n);
  if (total > everyUpTo) {
    const int64_t stride = std::max<int64_t>(1, (total - everyUpTo) / std::max<int64_t>(1, budget - everyUpTo));
    for (int64_t n = everyUpTo + stride; n <= total; n += stride) points.push_back(n);
    if (points.back() != total) points.push_back(total);
  }
  return points;
}

struct Reference {
  HostRun run;
  int64_t allocations = 0;
};

// Removes the out-of-memory diagnostics from `diagnostics` and returns how many there were.
int TakeOutOfMemory(std::vector<std::string>& diagnostics, const std::string& text) {
  const auto end = std::remove(diagnostics.begin(), diagnostics.end(), text);
  const int count = static_cast<int>(diagnostics.end() - end);
  diagnostics.erase(end, diagnostics.end());
  return count;
}

// True when every text of `part` occurs in `whole` at least as often.
bool IsSubset(std::vector<std::string> part, std::vector<std::string> whole) {
  std::sort(part.begin(), part.end());
  std::sort(whole.begin(), whole.end());
  return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

void CheckRun(const HostRun& run, const Reference& reference, const AllocationPlan& plan, bool failed,
              const std::string& oomText, std::string& problems) {
  if (!run.unexpected.empty()) problems += run.unexpected + "; ";
  if (plan.failAt <= reference.allocations && !failed) problems += "the planned failure was never reached; ";
  std::vector<std::string> others = run.diagnostics;
  const int oomCount = TakeOutOfMemory(others, oomText);
  if (run.importResult == 0) {
    if (run.importStatus != 2) problems += "import failed with status " + std::to_string(run.importStatus) + "; ";
    if (!failed) problems += "import failed with no allocation failure; ";
    // Memory back after the session went: the report is filed. When every
    // allocation keeps failing, it may not be.
    if (plan.failRest ? oomCount > 1 : oomCount != 1) {
      problems += std::to_string(oomCount) + " out-of-memory diagnostics; ";
    }
    // What was filed before memory ran out is true of the file.
    if (!IsSubset(others, reference.run.diagnostics)) problems += "a diagnostic a clean import does not file; ";
    return;
  }
  if (run.importStatus != 0) problems += "import succeeded with status " + std::to_string(run.importStatus) + "; ";
  if (!run.everyFailureWasStatus2) problems += "a model info call failed with a status other than 2; ";
  if (run.models != reference.run.models) problems += "model texts differ from a clean import; ";
  if (others != reference.run.diagnostics) problems += "diagnostics differ from a clean import; ";
  if (plan.failRest ? oomCount > run.modelInfoFailures : oomCount != run.modelInfoFailures) {
    problems += std::to_string(oomCount) + " out-of-memory diagnostics for " +
                std::to_string(run.modelInfoFailures) + " failed info calls; ";
  }
}

// One run under `plan`. Returns what went wrong; empty when nothing did.
std::string RunPlan(const std::string& path, const AllocationPlan& plan, const Reference& reference,
                    const std::string& oomText) {
  // Created before the count of live blocks is taken: a string that grows
  // swaps one block for another and leaves the count alone.
  std::string problems;
  problems.reserve(512);
  zav::TheDiagnosticList().Clear();
  const int64_t before = zav::testing::LiveBlocks();
  {
    zav::testing::StartPlan(plan);
    const HostRun run = zav::testing::RunHost(path);
    const bool failed = zav::testing::AllocationFailed();
    zav::testing::StartPlan({});
    CheckRun(run, reference, plan, failed, oomText, problems);
  }
  zav::TheDiagnosticList().Clear();
  const int64_t leaked = zav::testing::LiveBlocks() - before;
  if (leaked != 0) problems += std::to_string(leaked) + " blocks not released; ";
  return problems;
}

class EveryAllocationFailure : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryAllocationFailure, EndsWithAStatusAndReleasesEverything) {
  const std::string path = GetParam();
  const std::string oomText = OutOfMemoryText(path);
  // The first run also builds what the library makes once per process (the
  // index of its rule tables), which would otherwise count as kept blocks.
  zav::testing::RunHost(path);
  Reference reference;
  zav::TheDiagnosticList().Clear();
  zav::testing::StartPlan({});
  reference.run = zav::testing::RunHost(path);
  reference.allocations = zav::testing::ArmedAllocations();
  ASSERT_EQ(reference.run.importResult, 1) << path;
  ASSERT_TRUE(reference.run.unexpected.empty()) << reference.run.unexpected;

  int reported = 0;
  for (const int64_t n : FailurePoints(reference.allocations, 4000, 6000)) {
    for (const bool failRest : {false, true}) {
      AllocationPlan plan;
      plan.failAt = n;
      plan.failRest = failRest;
      const std::string problems = RunPlan(path, plan, reference, oomText);
      if (problems.empty()) continue;
      ADD_FAILURE() << fs::path(path).filename().string() << ": allocation " << n << " of "
                    << reference.allocations << (failRest ? " and all after it" : "") << " failed: " << problems;
      if (++reported == 5) return;
    }
  }
}

std::string CaseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = fs::path(info.param).stem().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Golden, EveryAllocationFailure, ::testing::ValuesIn(GoldenInputs()), CaseName);

}  // namespace
