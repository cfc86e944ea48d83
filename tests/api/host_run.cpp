#include "host_run.h"

#include "failing_allocator.h"
#include "zav.h"

namespace zav::testing {
namespace {

// Length and text of a model, each call armed when `arm` is set. False when
// either failed.
bool ReadModel(ZAV_MODEL model, std::string& text, int& status, bool arm) {
  int length = -1;
  unsigned size = 4;
  status = 0;
  int ok;
  SetArmed(arm);
  ok = ZAV_GetModelInfo(model, ZAV_INFO_LENGTH, &length, &size, &status);
  SetArmed(false);
  if (!ok) return false;
  text.assign(static_cast<std::size_t>(length) + 1, '\0');
  size = static_cast<unsigned>(text.size());
  SetArmed(arm);
  ok = ZAV_GetModelInfo(model, ZAV_INFO_TEXT, text.data(), &size, &status);
  SetArmed(false);
  if (!ok) return false;
  text.resize(static_cast<std::size_t>(length));
  return true;
}

}  // namespace

HostRun RunHost(const std::string& path) {
  HostRun run;
  ZAV_SESSION session = nullptr;
  {
    Armed armed;
    run.importResult = ZAV_PerformImport(path.c_str(), 0, &session, &run.importStatus);
  }
  if (run.importResult == 1) {
    int status = 0;
    ZAV_MODEL model = nullptr;
    int more;
    {
      Armed armed;
      more = ZAV_GetModelFirst(session, &model, &status);
    }
    while (more) {
      std::string text;
      int infoStatus = 0;
      if (!ReadModel(model, text, infoStatus, true)) {
        ++run.modelInfoFailures;
        if (infoStatus != ZAV_STATUS_BAD_ARGUMENT) run.everyFailureWasStatus2 = false;
        if (!ReadModel(model, text, infoStatus, false)) run.unexpected = "a model text could not be read unarmed";
      }
      run.models.push_back(text);
      Armed armed;
      more = ZAV_GetModelNext(session, &model, &status);
    }
    if (status != ZAV_STATUS_END_OF_DATA) run.unexpected = "the model walk ended with status " + std::to_string(status);
    status = 0;
    int ended;
    {
      Armed armed;
      ended = ZAV_EndImport(session, &status);
    }
    if (!ended) run.unexpected = "ZAV_EndImport failed with status " + std::to_string(status);
  }

  // Reading the diagnostics builds no text: it must work however short memory is.
  int status = 0;
  ZAV_DIAGNOSTIC diagnostic = nullptr;
  int more;
  {
    Armed armed;
    more = ZAV_GetErrorFirst(nullptr, &diagnostic, &status);
  }
  while (more) {
    int length = -1;
    unsigned size = 4;
    int infoStatus = 0;
    std::string text;
    int ok;
    {
      Armed armed;
      ok = ZAV_GetErrorInfo(diagnostic, ZAV_INFO_LENGTH, &length, &size, &infoStatus);
    }
    if (ok) {
      text.assign(static_cast<std::size_t>(length) + 1, '\0');
      size = static_cast<unsigned>(text.size());
      Armed armed;
      ok = ZAV_GetErrorInfo(diagnostic, ZAV_INFO_TEXT, text.data(), &size, &infoStatus);
    }
    if (!ok) {
      run.unexpected = "a diagnostic could not be read: status " + std::to_string(infoStatus);
    } else {
      text.resize(static_cast<std::size_t>(length));
      run.diagnostics.push_back(text);
    }
    Armed armed;
    more = ZAV_GetErrorNext(nullptr, &diagnostic, &status);
  }
  return run;
}

}  // namespace zav::testing
