// One import as a host runs it through the exports, with the library's calls
// (and only those) armed for the failing allocator.
#pragma once

#include <string>
#include <vector>

namespace zav::testing {

struct HostRun {
  int importResult = 0;
  int importStatus = 0;
  // The texts of the session's models in order. A text whose info call failed
  // is asked for once more, unarmed, so that it can still be compared.
  std::vector<std::string> models;
  // Info calls that failed, and whether each did so with status 2.
  int modelInfoFailures = 0;
  bool everyFailureWasStatus2 = true;
  // Every diagnostic of the list after the session ended, in list order.
  std::vector<std::string> diagnostics;
  // A call other than the two that build texts failed.
  std::string unexpected;
};

HostRun RunHost(const std::string& path);

}  // namespace zav::testing
