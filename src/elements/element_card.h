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
  ElementCard(Card& source, TakeOver, CardKind kind, uint32_t minPins, uint32_t maxPins,
              CardKind modelKind);

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
  void RecordTokens() override;

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
    return modelName != nullptr ? modelName->text : std::string_view(modelNameData_, modelNameSize_);
  }

  uint8_t minPins = 0;
  uint8_t maxPins = 0;
  CardKind modelKind = CardKind::Unknown;
  // Set by the link when the model is a model card, whose translation may
  // still add parameters to this element; cleared once it has run.
  bool awaitsModel = false;
  // Set once the element's own Resolve has run.
  bool resolved = false;

 private:
  uint16_t modelNameSize_ = 0;  // see modelNameData_ (a token is at most a line)

 public:
  // Tokens of this card, kept with them.
  TokenRefList<0> pins() { return TokenRefList<0>(tokens); }
  const TokenRefList<0> pins() const { return TokenRefList<0>(const_cast<TokenList&>(tokens)); }
  Token* modelName = nullptr;

 private:
  // The text of `modelName` as the parse found it (it views the file).
  const char* modelNameData_ = nullptr;
};

}  // namespace zav
