#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zav {

// Appends texts to a string, a text that starts where the one before it ends
// in memory joining it in one append. A translated library is mostly its
// lines as read, which lie one after the other in the file's buffer: the
// cards of a definition, and the pieces of a finished text that view lines,
// then go out as a few long stretches instead of one append a line.
class JoiningAppender {
 public:
  explicit JoiningAppender(std::string& out) : out_(out) {}
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

  // The size of what waits.
  std::size_t waiting() const { return static_cast<std::size_t>(end_ - begin_); }

  // Appends what waits, so that the string holds every text given so far.
  void Flush() {
    if (begin_ != end_) out_.append(begin_, static_cast<std::size_t>(end_ - begin_));
    begin_ = end_;
  }

 private:
  std::string& out_;
  // The stretch not yet appended.
  const char* begin_ = nullptr;
  const char* end_ = nullptr;
};

}  // namespace zav
