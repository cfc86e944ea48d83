#include "cards/finished_text.h"

#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#include "cards/card_store.h"
#include "cards/token_list.h"
#include "text/source_line.h"

namespace zav {
namespace {

// A piece this short costs more than a copy of its characters.
constexpr std::size_t kShortestView = 16;

bool ViewsItsLine(const Token& token) {
  if (token.line == nullptr) return false;
  const std::string_view line = token.line->text;
  return token.text.data() >= line.data() && token.text.data() + token.text.size() <= line.data() + line.size();
}

}  // namespace

const FinishedText* FinishedText::Make(CardStore& store, TokenList& tokens) {
  // The pieces are gathered first, the copies into the list's scratch string
  // one after the other; then the text, its pieces and its copies are kept
  // in one block of the store.
  std::vector<GatheredPiece>& gathered = tokens.ScratchPieces();
  std::string& copies = tokens.Scratch();
  gathered.clear();
  copies.clear();
  std::size_t size = 0;
  for (const Token* token = tokens.front(); token != nullptr;) {
    // The run of tokens from here whose texts follow each other in memory.
    const char* const begin = token->text.data();
    const char* end = begin + token->text.size();
    const Token* next = token->next;
    while (next != nullptr && next->text.data() == end) {
      end += next->text.size();
      next = next->next;
    }
    const auto length = static_cast<std::size_t>(end - begin);
    size += length;
    if (length >= kShortestView && ViewsItsLine(*token)) {
      gathered.push_back(GatheredPiece{begin, length});
    } else if (length > 0) {
      // A run of copies is one piece.
      copies.append(begin, length);
      if (!gathered.empty() && gathered.back().data == nullptr) {
        gathered.back().size += length;
      } else {
        gathered.push_back(GatheredPiece{nullptr, length});
      }
    }
    token = next;
  }
  FinishedText* finished = Allocate(store, size, gathered.size(), copies.size());
  auto* pieces = reinterpret_cast<Piece*>(finished + 1);
  char* copied = reinterpret_cast<char*>(pieces + gathered.size());
  if (!copies.empty()) std::memcpy(copied, copies.data(), copies.size());
  for (std::size_t i = 0; i < gathered.size(); ++i) {
    const char* data = gathered[i].data;
    if (data == nullptr) {
      data = copied;
      copied += gathered[i].size;
    }
    new (pieces + i) Piece{data, static_cast<std::uint32_t>(gathered[i].size)};
  }
  return finished;
}

FinishedText* FinishedText::Allocate(CardStore& store, std::size_t size, std::size_t count, std::size_t characters) {
  void* memory = store.Allocate(sizeof(FinishedText) + count * sizeof(Piece) + characters, alignof(Piece));
  return new (memory) FinishedText(static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(count));
}

const FinishedText* FinishedText::WithLines(CardStore& store, std::span<const std::string_view> before,
                                            const FinishedText& text, std::span<const std::string_view> after) {
  std::size_t size = text.size_;
  for (std::string_view line : before) size += line.size();
  for (std::string_view line : after) size += line.size();
  FinishedText* joined = Allocate(store, size, before.size() + text.count_ + after.size());
  auto* piece = reinterpret_cast<Piece*>(joined + 1);
  for (std::string_view line : before) new (piece++) Piece{line.data(), static_cast<std::uint32_t>(line.size())};
  for (std::uint32_t i = 0; i < text.count_; ++i) new (piece++) Piece(text.pieces()[i]);
  for (std::string_view line : after) new (piece++) Piece{line.data(), static_cast<std::uint32_t>(line.size())};
  return joined;
}

bool FinishedText::EndsWithLineFeed() const {
  for (std::uint32_t i = count_; i > 0; --i) {
    const Piece& piece = pieces()[i - 1];
    if (piece.size != 0) return piece.data[piece.size - 1] == '\n';
  }
  return false;
}

void FinishedText::AppendTo(std::string& out) const {
  const Piece* piece = pieces();
  for (std::uint32_t i = 0; i < count_; ++i) out.append(piece[i].data, piece[i].size);
}

}  // namespace zav
