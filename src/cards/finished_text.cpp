#include "cards/finished_text.h"

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

// A view of a line as read shorter than this costs more than a copy of its
// characters. Longer ones are viewed even though a copy would join the
// copies on either side in one piece (an append less at output): copying
// them too saved little time and cost the store the text of nearly every
// edited line again, memory the kernel must clear first.
constexpr std::size_t kShortestView = 16;
// The same for what the card's edits wrote: a piece of it stands between
// copies that would otherwise join one piece, and costs an append more when
// the text is written out.
constexpr std::size_t kShortestEditView = 64;

bool ViewsItsLine(const Token& token) {
  if (token.line == nullptr) return false;
  const std::string_view line = token.line->text;
  return token.text.data() >= line.data() && token.text.data() + token.text.size() <= line.data() + line.size();
}

}  // namespace

static_assert(sizeof(TextPiece) == sizeof(const char*) + 4, "a piece is a pointer and a 32-bit size, packed");

const FinishedText* FinishedText::Make(CardStore& store, TokenList& tokens) {
  // One walk over the runs: a run to be viewed becomes a piece at once; a
  // run to be copied goes straight into the store, where the runs copied
  // one after the other join one piece (nothing else takes room from the
  // store meanwhile). The pieces are gathered in scratch entries and kept
  // behind the copies in one block at the end. Every run takes one token at
  // least, so there are no more pieces than tokens.
  //
  // What the card's edits wrote lasts as long as the pool of its tokens;
  // when that is the store's, a long run of it is viewed too.
  const TokenPool* const pool = tokens.pool();
  const bool lasting = pool == &store.tokenPool();
  std::vector<TextPiece>& gathered = tokens.ScratchPieces();
  if (gathered.size() < tokens.size()) gathered.resize(tokens.size());
  TextPiece* piece = gathered.data();
  const TextPiece* const piecesEnd = piece + gathered.size();
  std::size_t size = 0;
  // Where the last copy ends while the last piece is a copy: a copy made
  // there joins it.
  const char* copyEnd = nullptr;
  if (Token* const last = tokens.back(); last != nullptr) {
    // The walk looks at every token of the card; a stop after the last, whose
    // text no other text can end at (it would have to lie inside the stop),
    // spares it a test for the end at each of them.
    Token stop;
    stop.text = std::string_view(reinterpret_cast<const char*>(&stop) + 1, 0);
    last->next = &stop;
    // The list ends at its last token again however the walk ends: a copy
    // into the store may throw when memory runs out.
    try {
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
        if (piece == piecesEnd) break;  // only with a token count gone wrong: never write past the pieces
        size += length;
        if (length >= kShortestView &&
            (ViewsItsLine(*token) || (lasting && length >= kShortestEditView && pool->KeptLately({begin, length})))) {
          *piece++ = TextPiece{begin, static_cast<std::uint32_t>(length)};
          copyEnd = nullptr;
        } else if (length > 0) {
          char* const copy = static_cast<char*>(store.Allocate(length, 1));
          TextArena::CopyChars(copy, begin, length);
          if (copy == copyEnd) {
            piece[-1].size += static_cast<std::uint32_t>(length);
          } else {
            *piece++ = TextPiece{copy, static_cast<std::uint32_t>(length)};
          }
          copyEnd = copy + length;
        }
        token = next;
      }
    } catch (...) {
      last->next = nullptr;
      throw;
    }
    last->next = nullptr;
  }
  const auto count = static_cast<std::size_t>(piece - gathered.data());
  FinishedText* finished = Allocate(store, size, count);
  // Most texts have a piece or two: copied without a call.
  TextArena::CopyChars(reinterpret_cast<char*>(finished + 1), reinterpret_cast<const char*>(gathered.data()),
                       count * sizeof(TextPiece));
  return finished;
}

FinishedText* FinishedText::Allocate(CardStore& store, std::size_t size, std::size_t count) {
  void* memory = store.Allocate(sizeof(FinishedText) + count * sizeof(Piece), alignof(FinishedText));
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

const FinishedText* FinishedText::OfPieces(CardStore& store, std::span<const TextPiece> pieces) {
  std::size_t size = 0;
  for (const TextPiece& piece : pieces) size += piece.size;
  FinishedText* finished = Allocate(store, size, pieces.size());
  TextArena::CopyChars(reinterpret_cast<char*>(finished + 1), reinterpret_cast<const char*>(pieces.data()),
                       pieces.size() * sizeof(TextPiece));
  return finished;
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
