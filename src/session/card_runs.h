#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/large_block.h"
#include "text/line_kind.h"

namespace zav {

// The runs of lines that make a card each, grouped one line at a time in file
// order. A statement line opens a card; a continuation line, or the comment
// part split off a line, extends the open card to it. A whole comment line is
// passed over: it belongs to the statement only when a later line of the
// statement follows it, else to the next card. So a card's run ends at the
// last line of its statement, and the next run starts right after it.
class CardRuns {
 public:
  struct Run {
    std::uint32_t first;
    std::uint32_t count;
  };

  void reserve(std::size_t count) { runs_.reserve(count); }

  // Groups the line at `position`. True for a stray line (a part name in
  // brackets, a lone "-", a "+" with no statement before it): it ends the
  // open card and belongs to none, and the caller keeps it as a comment line
  // of its own, so that the statement after it is still read by its own
  // first word. Inline: it runs once a line of the file.
  bool Group(LineKind kind, bool isInlineComment, std::size_t position) {
    switch (kind) {
      case LineKind::Control:
      case LineKind::Model:
      case LineKind::Subckt:
      case LineKind::Ends:
      case LineKind::Element:
        if (open_) Close();
        open_ = true;
        last_ = position;
        return false;
      case LineKind::Continuation:
        if (open_) {
          last_ = position;
          return false;
        }
        [[fallthrough]];
      case LineKind::Other:
        if (open_) Close();
        return true;
      case LineKind::Comment:
        if (open_ && isInlineComment) last_ = position;
        return false;
    }
    return false;
  }
  // Closes the last card once `lineCount` lines are grouped: comment lines
  // (stray lines among them) after the last statement end up in it; without
  // any card they belong to none.
  void Finish(std::size_t lineCount) {
    if (open_) Close();
    if (!runs_.empty()) runs_.back().count = static_cast<std::uint32_t>(lineCount - runs_.back().first);
  }

  std::size_t size() const { return runs_.size(); }
  const Run& operator[](std::size_t index) const { return runs_[index]; }

 private:
  void Close() {
    runs_.push_back(Run{static_cast<std::uint32_t>(start_), static_cast<std::uint32_t>(last_ + 1 - start_)});
    start_ = last_ + 1;
    open_ = false;
  }

  std::vector<Run, LargeBlockAllocator<Run>> runs_;
  std::size_t start_ = 0;  // the first line of the next run
  std::size_t last_ = 0;   // the last line of the open card's statement
  bool open_ = false;
};

}  // namespace zav
