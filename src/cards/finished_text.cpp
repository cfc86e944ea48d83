#include "cards/finished_text.h"

#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#include "cards/card_store.h"
#include "cards/text_arena.h"
#include "cards/token_list.h"
#include "text/joining_appender.h"
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
  // The runs are gathered first, with the number of pieces and characters
  // to copy they make; then the text and its pieces are kept in one block
  // of the store, and what is copied goes straight there. Every run takes
  // one token at least, so there are no more runs than tokens.
  std::vector<GatheredPiece>& gathered = tokens.ScratchPieces();
  if (gathered.size() < tokens.size()) gathered.resize(tokens.size());
  GatheredPiece* run = gathered.data();
  const GatheredPiece* const runsEnd = run + gathered.size();
  std::size_t size = 0;
  std::size_t count = 0;
  std::size_t characters = 0;
  bool copying = false;  // whether the last piece is copied
  if (Token* const last = tokens.back(); last != nullptr) {
    // The walk looks at every token of the card; a stop after the last, whose
    // text no other text can end at (it would have to lie inside the stop),
    // spares it a test for the end at each of them.
    Token stop;
    stop.text = std::string_view(reinterpret_cast<const char*>(&stop) + 1, 0);
    last->next = &stop;
    for (const Token* token = tokens.front(); token != &stop;) {
      // The run of tokens from here whose texts follow each other in memory.
      const char* const begin = token->text.data();
      const char* end = begin + token->text.size();
      const Token* next = token->next;
      while (next->text.data() == end) {
        end += next->text.size();
        next = next->next;
      }
      const auto length = static_cast<std::size_t>(end - begin);
      if (run == runsEnd) break;  // only with a token count gone wrong: never write past the runs
      size += length;
      if (length >= kShortestView && ViewsItsLine(*token)) {
        *run++ = GatheredPiece{begin, static_cast<std::uint32_t>(length), false};
        ++count;
        copying = false;
      } else if (length > 0) {
        // A run of copies is one piece.
        *run++ = GatheredPiece{begin, static_cast<std::uint32_t>(length), true};
        characters += length;
        if (!copying) ++count;
        copying = true;
      }
      token = next;
    }
    last->next = nullptr;
  }
  FinishedText* finished = Allocate(store, size, count, characters);
  auto* piece = reinterpret_cast<Piece*>(finished + 1);
  char* copied = reinterpret_cast<char*>(piece + count);
  copying = false;
  for (const GatheredPiece* gatheredRun = gathered.data(); gatheredRun != run; ++gatheredRun) {
    if (!gatheredRun->copy) {
      new (piece++) Piece{gatheredRun->data, gatheredRun->size};
      copying = false;
      continue;
    }
    if (copying) {
      piece[-1].size += gatheredRun->size;
    } else {
      new (piece++) Piece{copied, gatheredRun->size};
    }
    TextArena::CopyChars(copied, gatheredRun->data, gatheredRun->size);
    copied += gatheredRun->size;
    copying = true;
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

void FinishedText::AppendTo(JoiningAppender& out) const {
  const Piece* piece = pieces();
  for (std::uint32_t i = 0; i < count_; ++i) out.Append(piece[i].data, piece[i].size);
}

}  // namespace zav
