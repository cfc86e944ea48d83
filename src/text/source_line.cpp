#include "text/source_line.h"

#include <cstring>
#include <ostream>
#include <utility>

namespace zav {
namespace {

// A block holding `parts` one after the other.
std::string_view Keep(std::string_view first, std::string_view second = {}) {
  char* block = new char[first.size() + second.size()];
  std::memcpy(block, first.data(), first.size());
  if (!second.empty()) std::memcpy(block + first.size(), second.data(), second.size());
  return std::string_view(block, first.size() + second.size());
}

}  // namespace

SourceLine::SourceLine(SourceLine&& other) noexcept { *this = std::move(other); }

SourceLine& SourceLine::operator=(SourceLine&& other) noexcept {
  if (this == &other) return *this;
  Release();
  text = std::exchange(other.text, LineText());
  rawText = std::exchange(other.rawText, LineText());
  number = other.number;
  kind = other.kind;
  isInlineComment = other.isInlineComment;
  ownsRawText_ = other.ownsRawText_;
  ownsText_ = other.ownsText_;
  other.ownsRawText_ = false;
  other.ownsText_ = false;
  return *this;
}

void SourceLine::Release() {
  if (ownsText_) delete[] text.data();
  if (ownsRawText_) delete[] rawText.data();
  ownsText_ = false;
  ownsRawText_ = false;
}

std::ostream& operator<<(std::ostream& out, const LineText& text) { return out << text.view(); }

SourceLine SourceLine::MakeOwning(std::string_view text, int32_t number, LineKind kind, bool isInlineComment) {
  SourceLine line;
  line.rawText = Keep(text);
  line.ownsRawText_ = true;
  line.text = line.rawText;
  line.number = number;
  line.kind = kind;
  line.isInlineComment = isInlineComment;
  return line;
}

void SourceLine::SetKeptText(std::string_view kept) {
  if (ownsText_) delete[] text.data();
  ownsText_ = false;
  text = kept;
}

void SourceLine::SetCommentedText() {
  if (ownsText_) delete[] text.data();
  text = Keep("* ", rawText);
  ownsText_ = true;
}

}  // namespace zav
