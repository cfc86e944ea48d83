#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "diagnostics/message_code.h"
#include "diagnostics/severity.h"

namespace zav {

struct SourceLine;

// One value for a placeholder of a message format: a text for %s and %S, an
// integer for %d and %i, a real for %e, %E, %f, %g and %G.
class DiagnosticValue {
 public:
  enum class Type { Text, Integer, Real };

  DiagnosticValue(std::string_view text) : type_(Type::Text), text_(text) {}
  DiagnosticValue(const std::string& text) : type_(Type::Text), text_(text) {}
  DiagnosticValue(const char* text) : type_(Type::Text), text_(text ? text : "") {}
  DiagnosticValue(int value) : type_(Type::Integer), integer_(value) {}
  DiagnosticValue(double value) : type_(Type::Real), real_(value) {}

  Type type() const { return type_; }
  std::string_view text() const { return text_; }
  int integer() const { return integer_; }
  double real() const { return real_; }

 private:
  Type type_;
  std::string_view text_;
  int integer_ = 0;
  double real_ = 0.0;
};

// A diagnostic text is at most this many characters (a 512-byte buffer with
// its terminator).
constexpr std::size_t kMaxDiagnosticLength = 511;

// Builds the text of a diagnostic: the optional "Line %d:\n\t<line as read>"
// header, the severity prefix, the format with its placeholders filled, and
// ".\n". The result never exceeds kMaxDiagnosticLength characters.
std::string FormatDiagnostic(Severity severity, std::string_view format, const SourceLine* line,
                             std::span<const DiagnosticValue> values);

// Files one diagnostic of the catalogue on the process-wide list. `line` is
// the line the message is about, or none.
void AddDiagnostic(MessageCode code, const SourceLine* line, std::initializer_list<DiagnosticValue> values = {});

}  // namespace zav
