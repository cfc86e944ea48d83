#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "cards/text_arena.h"
#include "cards/token_list.h"
#include "cards/translation_target.h"
#include "platform/large_block.h"

namespace zav {

// Facts an import notes as it goes, for a caller that wants to sum them up
// (zav-import --summary): each is counted where it happens, at no cost worth
// mentioning, so that nobody has to search the texts for them afterwards.
struct ImportStatistics {
  // Model parameters, as written on their cards, whose names were translated
  // (parameters a card inherits through an AKO reference not counted).
  int renamedParameters = 0;
  // Statements that could not be used and were kept as comment lines.
  int cardsTurnedIntoComments = 0;
};

// The memory of one import's cards, released all at once when the import
// ends: the card objects themselves and what outlives a card's tokens (the
// texts of edited cards, a model's name and type), in large blocks; and the
// pool the cards take their tokens from while they hold them.
class CardStore {
 public:
  CardStore() = default;
  CardStore(const CardStore&) = delete;
  CardStore& operator=(const CardStore&) = delete;

  // Room for an object, kept until the store goes. Inline: an import asks
  // for room for every card and every edited card's text, and the rest of
  // the newest block nearly always has it.
  void* Allocate(std::size_t size, std::size_t alignment) {
    const auto next = reinterpret_cast<std::uintptr_t>(next_);
    const std::uintptr_t at = (next + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
    // Compared as addresses, so that aligning past the end of a block whose
    // size is no multiple of the alignment (one made for one large object)
    // is caught, and with no block yet (both null) nothing fits.
    if (next_ != nullptr && at <= reinterpret_cast<std::uintptr_t>(end_) &&
        reinterpret_cast<std::uintptr_t>(end_) - at >= size) {
      next_ = reinterpret_cast<std::byte*>(at + size);
      return reinterpret_cast<void*>(at);
    }
    return AllocateInNewBlock(size, alignment);
  }
  // `text` kept until the store goes: a copy, unless it lies in the lasting
  // text (see SetLastingText), which it then views. Inline: most texts kept
  // (a model's name, a parameter moved to the elements) lie there.
  std::string_view KeepText(std::string_view text) {
    // Compared as addresses: the text may lie in any block at all.
    const auto at = reinterpret_cast<std::uintptr_t>(text.data());
    if (text.empty() || (at >= reinterpret_cast<std::uintptr_t>(lastingBegin_) &&
                         at + text.size() <= reinterpret_cast<std::uintptr_t>(lastingEnd_))) {
      return text.empty() ? std::string_view() : text;
    }
    return Copy(text);
  }
  // Text that lives as long as the store (the import's file, which every
  // line read views), so that KeepText need not copy what lies in it.
  void SetLastingText(const char* begin, std::size_t size) {
    lastingBegin_ = begin;
    lastingEnd_ = begin + size;
  }
  // A token outside any list, kept until the store goes.
  Token* NewLooseToken();

  // Room for edits that wait for a card's finished text (the parameters a
  // model moves to an element that holds no tokens), needed only until the
  // card is finished, which comes soon after: once no card holds any, the
  // room is used again instead of staying to the end of the import as the
  // store's does. A card asks for room after HoldWaitingRoom, and gives all
  // of it back with ReleaseWaitingRoom.
  void HoldWaitingRoom() { ++waitingHolders_; }
  // Inline: asked for each parameter moved to each element.
  void* AllocateWaiting(std::size_t size, std::size_t alignment) {
    // The arena keeps characters: the room is aligned within a little more.
    const auto address = reinterpret_cast<std::uintptr_t>(waitingRoom_.Allocate(size + alignment - 1));
    return reinterpret_cast<void*>((address + alignment - 1) & ~(std::uintptr_t{alignment} - 1));
  }
  void ReleaseWaitingRoom() {
    if (--waitingHolders_ == 0) waitingRoom_.Clear();
  }

  TokenPool& tokenPool() { return tokenPool_; }
  ImportStatistics& statistics() { return statistics_; }

  // Set when edited cards are to keep their tokens (see Card::Finish).
  bool keepEditedTokens = false;
  // The simulator this import's cards are translated for.
  TranslationTarget target = TranslationTarget::Host;

 private:
  void* AllocateInNewBlock(std::size_t size, std::size_t alignment);
  std::string_view Copy(std::string_view text);

  std::vector<LargeBuffer> blocks_;
  std::byte* next_ = nullptr;  // the unused rest of the newest block
  std::byte* end_ = nullptr;
  std::size_t nextBlock_ = 64 * 1024;
  const char* lastingBegin_ = nullptr;
  const char* lastingEnd_ = nullptr;
  TokenPool tokenPool_;
  TextArena waitingRoom_{4096, 64 * 1024};
  std::size_t waitingHolders_ = 0;
  ImportStatistics statistics_;
};

}  // namespace zav
