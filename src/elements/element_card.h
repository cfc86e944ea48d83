#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "cards/brace_expression.h"
#include "cards/card.h"
#include "elements/element_field.h"

namespace zav {

struct SourceLine;

// A circuit-element statement (R1 1 2 10k, M3 d g s b NMOD L=1u, ...). The
// class is chosen by the first letter of the element name; each class has a
// constant field table that drives the shared parse steps.
class ElementCard : public Card {
 public:
  // A typed element card: a copy of `source` with the factory's settings.
  ElementCard(Card& source, TakeOver, CardKind kind);

  // Chooses the class by the first letter of the first significant token of
  // `source` (a card that classification found to be an element), derives
  // and parses the typed card, which takes the lines and tokens over; none
  // (after a diagnostic) when the letter is unknown or the parse rejects the
  // card, and `source` then has its lines back.
  static std::unique_ptr<ElementCard> Create(Card& source);

  void Parse() override;  // the default element parse: name, pins, fields
  void Link() override;   // the model link

  // Lets go of the tokens; the model name stays readable for the link.
  void ForgetTokens() override;
  // The parse, then the edits that waited for the tokens (see FinishEdits).
  void RecordTokens() override;

  // A card that holds no tokens takes a moved parameter as the line it
  // adds, written at once, and its name from its line: the tokens, made
  // again only to add a line at the end, would be cut and joined again.
  std::string_view NameForMove() override;
  void AddMovedParameter(std::string_view name, std::string_view value, TokenKind valueKind,
                         std::string_view note) override;
  // Finish, for an element: the edits that waited (the value swap, moved
  // parameters) are written into its lines' text, the finished text, when
  // its last code line ends in a line feed; otherwise the tokens are made
  // again and take them (RecordTokens).
  void FinishEdits();

  virtual const ElementField* FieldTable() const { return nullptr; }
  virtual std::size_t FieldCount() const { return 0; }

  // Makes the first significant token the name, or clears `valid`.
  void ParseName();
  // Reads the pins after the name. Returns the first token after the pins
  // when the optional pins stopped at a token that is not a pin; none
  // otherwise (the cursor then stands on the last token read).
  Token* ParsePins();
  // Matches the values from `current` (none: the next value) to the field
  // table from row `firstRow` on: positional rows in row order, keyword rows
  // wherever their keyword stands, in any letter case.
  void ParseFields(Token* current, std::size_t firstRow);
  // The next value after the cursor: a significant token, or a brace
  // expression as a whole, given as its OpenBrace token with the cursor left
  // on the expression's last token. None at the end of the card.
  Token* NextValue(BraceExpressionIndex& braces);

  // The name of the model this element uses, as written; empty for none.
  // Readable whether or not the card holds its tokens.
  std::string_view ModelNameText() const {
    return modelName() != nullptr ? modelName()->text : std::string_view(modelNameData_, modelNameSize_);
  }
  // The model name's token (see ParseFields): none while the card holds no
  // tokens.
  Token* modelName() const { return movesWait_ ? nullptr : modelName_; }
  void SetModelName(Token* token) { modelName_ = token; }

  // The settings of the card's class, which its kind tells: the pins it has
  // at least and at most, and the kind of model it may name.
  uint32_t minPins() const;
  uint32_t maxPins() const;
  CardKind modelKind() const;

  // Tokens of this card, kept with them.
  TokenRefList<0> pins() { return TokenRefList<0>(tokens); }
  const TokenRefList<0> pins() const { return TokenRefList<0>(const_cast<TokenList&>(tokens)); }

  // The fields below take 24 bytes: an import holds a card for each
  // element of its file, and keeps it to the end.

  // Set by the link when the model is a model card, whose translation may
  // still add parameters to this element; cleared once it has run.
  bool awaitsModel : 1 = false;
  // Set once the element's own Resolve has run.
  bool resolved : 1 = false;

 protected:
  // Whether the value swap waits for the card's text (see FinishEdits):
  // set by a value element's Resolve.
  bool swapWaits_ : 1 = false;
  // Set by the parse when a field was written NAME=value: a moved parameter
  // of that name would then be dropped, which only the tokens tell.
  bool ownKeywords_ : 1 = false;

 private:
  // Whether moved parameters wait: waiting_, not modelName_, is set.
  bool movesWait_ : 1 = false;

 protected:
  // Where the value after the model name stands, as how far after the model
  // name's end on the same line, and its size; a size of 0 when the swap
  // needs the tokens (a brace expression, the value on another line, a gap
  // or a value longer than a byte holds).
  uint8_t valueGap_ = 0;
  uint8_t valueSize_ = 0;
  // Swaps the model name and the value among the tokens (a value element).
  virtual void SwapTokens() {}
  // Whether an edit may wait for the card's text rather than make its tokens.
  bool EditsMayWait() const;

 private:
  struct WaitingParameter;
  // Writes the finished text from the lines and the waiting edits; false
  // when the lines' form asks for the tokens.
  bool FinishFromLines();

  // Where the card's name stands, as how far before the model name, and its
  // size (for a card with a model name, which a model may give parameters):
  // the diagnostic of a move quotes it. Both 0 when either is more than a
  // byte holds.
  uint8_t nameBefore_ = 0;
  uint8_t nameSize_ = 0;
  uint16_t modelNameSize_ = 0;  // see modelNameData_ (a token is at most a line)
  // The two share a place: moved parameters wait only while the card holds
  // no tokens, and the tokens take them when they are made again.
  union {
    // The model name's token, while the card holds its tokens.
    Token* modelName_ = nullptr;
    // Moved parameters waiting for the card's text, in order, kept in the
    // store.
    WaitingParameter* waiting_;
  };
  // The text of the model name as the parse found it (it views the file).
  const char* modelNameData_ = nullptr;
};

}  // namespace zav
