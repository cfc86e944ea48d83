#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zav {

class CardStore;
class JoiningAppender;
class TokenList;
struct TextPiece;

// The text of an edited card once nothing will change it again, kept in its
// import's store without its tokens: as pieces, each a run of characters that
// stays where it is (most of a translated card is its lines as read, in the
// file's buffer) or a copy of text that would not (what the edits wrote).
// A run of several tokens that follow each other in memory is one piece.
class FinishedText {
 public:
  // The concatenation of the tokens' texts, kept in `store`.
  static const FinishedText* Make(CardStore& store, TokenList& tokens);
  // The concatenation of `pieces`, which stay where they are (a line's, or
  // kept in `store`), kept in `store`: for a card whose edits are written
  // into its lines' text without tokens.
  static const FinishedText* OfPieces(CardStore& store, std::span<const TextPiece> pieces);
  // `text` with lines put before or after it (texts that stay where they
  // are, such as a line's), kept in `store`: for a card finished before
  // comment lines joined it.
  static const FinishedText* WithLines(CardStore& store, std::span<const std::string_view> before,
                                       const FinishedText& text, std::span<const std::string_view> after);

  std::size_t size() const { return size_; }
  bool EndsWithLineFeed() const;
  void AppendTo(std::string& out) const;
  // The same, through an appender that joins pieces lying one after the other.
  void AppendTo(JoiningAppender& out) const;

 private:
  using Piece = TextPiece;
  FinishedText(std::uint32_t size, std::uint32_t count) : size_(size), count_(count) {}
  // A text of `size` characters in `count` pieces, the pieces to be filled.
  static FinishedText* Allocate(CardStore& store, std::size_t size, std::size_t count);
  const Piece* pieces() const { return reinterpret_cast<const Piece*>(this + 1); }

  std::uint32_t size_;
  std::uint32_t count_;
};

}  // namespace zav
