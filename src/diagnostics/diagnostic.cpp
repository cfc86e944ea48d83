#include "diagnostics/diagnostic.h"

#include <cstring>
#include <ostream>
#include <utility>

namespace zav {

DiagnosticText::DiagnosticText(DiagnosticText&& other) noexcept
    : data_(std::exchange(other.data_, "")), size_(std::exchange(other.size_, 0)),
      owned_(std::exchange(other.owned_, false)) {}

DiagnosticText& DiagnosticText::operator=(const DiagnosticText& other) {
  if (this == &other) return *this;
  if (!other.owned_) {
    Release();
    data_ = other.data_;
    size_ = other.size_;
    return *this;
  }
  return *this = other.view();
}

DiagnosticText& DiagnosticText::operator=(DiagnosticText&& other) noexcept {
  if (this == &other) return *this;
  Release();
  data_ = std::exchange(other.data_, "");
  size_ = std::exchange(other.size_, 0);
  owned_ = std::exchange(other.owned_, false);
  return *this;
}

DiagnosticText& DiagnosticText::operator=(std::string_view text) {
  char* copy = new char[text.size() + 1];
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  Release();
  data_ = copy;
  size_ = text.size();
  owned_ = true;
  return *this;
}

void DiagnosticText::Release() {
  if (owned_) delete[] data_;
  data_ = "";
  size_ = 0;
  owned_ = false;
}

std::ostream& operator<<(std::ostream& out, const DiagnosticText& text) { return out << text.view(); }

}  // namespace zav
