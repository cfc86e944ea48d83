#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "diagnostics/message_code.h"
#include "diagnostics/severity.h"

namespace zav {

// The finished text of a diagnostic. A filed diagnostic's text views storage
// that the list holding it keeps (one block of many texts, not one heap block
// each); a text assigned from a string, as a diagnostic made on its own gets
// it, keeps a copy of its own. It reads like a string: it converts to
// std::string_view and, for callers that keep a copy, to std::string.
class DiagnosticText {
 public:
  DiagnosticText() = default;
  // A text that views `text`, which must outlive it.
  static DiagnosticText View(std::string_view text) {
    DiagnosticText viewed;
    viewed.data_ = text.data();
    viewed.size_ = text.size();
    return viewed;
  }
  DiagnosticText(const DiagnosticText& other) { *this = other; }
  DiagnosticText(DiagnosticText&& other) noexcept;
  DiagnosticText& operator=(const DiagnosticText& other);
  DiagnosticText& operator=(DiagnosticText&& other) noexcept;
  // Keeps a copy of `text`.
  DiagnosticText& operator=(std::string_view text);
  DiagnosticText& operator=(const std::string& text) { return *this = std::string_view(text); }
  DiagnosticText& operator=(const char* text) { return *this = std::string_view(text); }
  ~DiagnosticText() { Release(); }

  std::string_view view() const { return std::string_view(data_, size_); }
  operator std::string_view() const { return view(); }
  operator std::string() const { return std::string(view()); }

  const char* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::size_t find(std::string_view text, std::size_t from = 0) const { return view().find(text, from); }
  std::size_t find(char c, std::size_t from = 0) const { return view().find(c, from); }
  std::string substr(std::size_t from, std::size_t count = std::string::npos) const {
    return std::string(view().substr(from, count));
  }

  friend bool operator==(const DiagnosticText& a, const DiagnosticText& b) { return a.view() == b.view(); }
  friend bool operator==(const DiagnosticText& a, std::string_view b) { return a.view() == b; }

 private:
  void Release();

  const char* data_ = "";
  std::size_t size_ = 0;
  bool owned_ = false;
};

std::ostream& operator<<(std::ostream& out, const DiagnosticText& text);

// One filed diagnostic: the number of the input line it is about (0 for none)
// and its finished text. It keeps no reference to the line, so it stays
// readable after the import that filed it has ended. Its address is the
// host's diagnostic handle.
struct Diagnostic {
  int32_t lineNumber = 0;
  DiagnosticText text;
  // The catalogue row it was made from, and that row's severity.
  MessageCode code = MessageCode::UnexpectedEndOfFile;
  Severity severity = Severity::Error;
};

}  // namespace zav
