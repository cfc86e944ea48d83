#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

// Appends texts to a string, a text that starts where the one before it ends
// in memory joining it in one append. A translated library is mostly its
// lines as read, which lie one after the other in the file's buffer: the
// cards of a definition, and the pieces of a finished text that view lines,
// then go out as a few long stretches instead of one append a line.
//
// Or, for a writer that hands texts to the system where they lie, notes the
// stretches themselves, which then view the texts given (they must outlive
// the stretches): nothing is copied at all.
class JoiningAppender {
 public:
  explicit JoiningAppender(std::string& out) : out_(&out) {}
  explicit JoiningAppender(std::vector<std::string_view>& stretches) : stretches_(&stretches) {}
  JoiningAppender(const JoiningAppender&) = delete;
  JoiningAppender& operator=(const JoiningAppender&) = delete;
  // What is still waiting goes out.
  ~JoiningAppender() { Flush(); }

  void Append(const char* data, std::size_t size) {
    if (data == end_) {
      end_ += size;
      return;
    }
    Flush();
    begin_ = data;
    end_ = data + size;
  }
  void Append(std::string_view text) { Append(text.data(), text.size()); }

  // Appends (or notes) what waits, so that the string (or the stretches)
  // holds every text given so far.
  void Flush() {
    if (begin_ != end_) {
      const auto size = static_cast<std::size_t>(end_ - begin_);
      if (out_ != nullptr) {
        out_->append(begin_, size);
      } else {
        stretches_->emplace_back(begin_, size);
      }
    }
    begin_ = end_;
  }

 private:
  std::string* out_ = nullptr;
  std::vector<std::string_view>* stretches_ = nullptr;
  // The stretch not yet appended.
  const char* begin_ = nullptr;
  const char* end_ = nullptr;
};

}  // namespace zav
