#include "support/import_texts.h"

#include "diagnostics/diagnostic_list.h"
#include "session/import_session.h"
#include "support/temp_file.h"

namespace zav::testing {

ImportedTexts ImportBytes(const std::string& bytes) {
  TheDiagnosticList().Clear();
  TempFile file(bytes);
  ImportedTexts result;
  {
    ImportSession session;
    session.Import(file.path().c_str());
    for (ImportedModel* model : session.models()) result.models.push_back(model->ModelText());
  }
  TheDiagnosticList().ForEach([&](const Diagnostic& d) { result.diagnostics.push_back(d.text); });
  TheDiagnosticList().Clear();
  return result;
}

}  // namespace zav::testing
