#include "diagnostics/add_diagnostic.h"

#include <cstdio>
#include <cstring>

#include "diagnostics/diagnostic_sink.h"
#include "diagnostics/message_catalogue.h"
#include "text/source_line.h"

namespace zav {
namespace {

// Plain characters and placeholder values stop at this length, so that ".\n"
// still fits in the 511 characters a diagnostic may have.
constexpr std::size_t kBodyLimit = kMaxDiagnosticLength - 2;

// A quoted source line may be up to 511 characters: quoted whole it could
// crowd the message itself out of the text. The header is therefore kept to
// this many characters; a longer one quotes the start of the line followed by
// "...".
constexpr std::size_t kHeaderLimit = 256;
constexpr std::string_view kEllipsis = "...";

const char* SeverityPrefix(Severity severity) {
  switch (severity) {
    case Severity::Info:
      return "info -- ";
    case Severity::Warning:
      return "warning -- ";
    default:
      return "error -- ";
  }
}

// The text being formatted, in a buffer of the largest size a diagnostic may
// have: formatting takes no heap block.
class TextBuffer {
 public:
  std::size_t size() const { return size_; }
  std::string_view view() const { return std::string_view(data_, size_); }

  // Appends without a bound (the parts whose size is known to fit).
  void Append(std::string_view text) {
    std::memcpy(data_ + size_, text.data(), text.size());
    size_ += text.size();
  }
  void Append(char c) { data_[size_++] = c; }

  // Appends as much of `text` as fits below the body limit; false when it
  // was cut.
  bool AppendBounded(std::string_view text) {
    const std::size_t room = size_ < kBodyLimit ? kBodyLimit - size_ : 0;
    if (text.size() <= room) {
      Append(text);
      return true;
    }
    Append(text.substr(0, room));
    return false;
  }

 private:
  char data_[kMaxDiagnosticLength + 1];
  std::size_t size_ = 0;
};

void AppendHeader(TextBuffer& out, const SourceLine& line) {
  char number[32];
  const int length = std::snprintf(number, sizeof number, "Line %d:\n\t", static_cast<int>(line.number));
  out.Append(std::string_view(number, static_cast<std::size_t>(length)));
  std::string_view quoted = line.rawText;
  const bool endsInLineFeed = !quoted.empty() && quoted.back() == '\n';
  // Room for the quoted text and its line feed.
  const std::size_t room = kHeaderLimit > out.size() + 1 ? kHeaderLimit - out.size() - 1 : 0;
  const std::size_t bodyLength = quoted.size() - (endsInLineFeed ? 1 : 0);
  if (bodyLength <= room) {
    out.Append(quoted.substr(0, bodyLength));
  } else {
    out.Append(quoted.substr(0, room - kEllipsis.size()));
    out.Append(kEllipsis);
  }
  out.Append('\n');
}

void Format(TextBuffer& out, Severity severity, std::string_view format, const SourceLine* line,
            std::span<const DiagnosticValue> values) {
  if (line != nullptr) AppendHeader(out, *line);
  out.Append(SeverityPrefix(severity));

  std::size_t next = 0;
  auto takeValue = [&]() -> const DiagnosticValue* {
    return next < values.size() ? &values[next++] : nullptr;
  };

  bool fits = true;
  for (std::size_t i = 0; fits && i < format.size(); ++i) {
    if (format[i] != '%') {
      std::size_t runEnd = format.find('%', i);
      if (runEnd == std::string_view::npos) runEnd = format.size();
      fits = out.AppendBounded(format.substr(i, runEnd - i));
      i = runEnd - 1;
      continue;
    }
    if (i + 1 >= format.size()) break;  // a lone % at the end vanishes
    const char conversion = format[++i];
    char buffer[64];
    switch (conversion) {
      case 's':
      case 'S': {
        const DiagnosticValue* value = takeValue();
        std::string_view text = value && value->type() == DiagnosticValue::Type::Text ? value->text() : "";
        if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
        fits = out.AppendBounded(text);
        break;
      }
      case 'd':
      case 'i': {
        const DiagnosticValue* value = takeValue();
        std::snprintf(buffer, sizeof buffer, "%d", value ? value->integer() : 0);
        fits = out.AppendBounded(buffer);
        break;
      }
      case 'e':
      case 'E':
      case 'f':
      case 'g':
      case 'G': {
        const DiagnosticValue* value = takeValue();
        const double real = value ? value->real() : 0.0;
        // Fixed notation of a large value runs to hundreds of digits.
        const int length = std::snprintf(nullptr, 0, "%f", real);
        std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
        std::snprintf(text.data(), text.size() + 1, "%f", real);
        fits = out.AppendBounded(text);
        break;
      }
      default:
        // An unknown conversion, "%%" included, vanishes without using a value.
        break;
    }
  }
  out.Append(".\n");
}

}  // namespace

std::string FormatDiagnostic(Severity severity, std::string_view format, const SourceLine* line,
                             std::span<const DiagnosticValue> values) {
  TextBuffer out;
  Format(out, severity, format, line, values);
  return std::string(out.view());
}

void AddDiagnostic(MessageCode code, const SourceLine* line, std::initializer_list<DiagnosticValue> values) {
  const MessageRow* row = FindMessage(code);
  if (row == nullptr) return;
  DiagnosticSink& sink = CurrentDiagnosticSink();
  Diagnostic diagnostic;
  diagnostic.lineNumber = line ? line->number : 0;
  diagnostic.code = code;
  diagnostic.severity = row->severity;
  TextBuffer text;
  if (sink.WantsTexts()) {
    Format(text, row->severity, row->format, line, std::span<const DiagnosticValue>(values.begin(), values.size()));
    diagnostic.text = DiagnosticText::View(text.view());
  }
  sink.File(diagnostic);
}

}  // namespace zav
