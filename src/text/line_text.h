#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string_view>

namespace zav {

// A view of a line's text, in twelve bytes instead of a string_view's
// sixteen: an import holds two per line of its file (a line is at most 511
// characters, so its length fits in 32 bits). It converts to and from
// std::string_view and offers the part of its interface the library uses.
#pragma pack(push, 4)
class LineText {
 public:
  static constexpr std::size_t npos = std::string_view::npos;

  constexpr LineText() = default;
  constexpr LineText(std::string_view text) : data_(text.data()), size_(static_cast<std::uint32_t>(text.size())) {}
  constexpr LineText& operator=(std::string_view text) {
    data_ = text.data();
    size_ = static_cast<std::uint32_t>(text.size());
    return *this;
  }

  constexpr std::string_view view() const { return std::string_view(data_, size_); }
  constexpr operator std::string_view() const { return view(); }

  constexpr const char* data() const { return data_; }
  constexpr std::size_t size() const { return size_; }
  constexpr bool empty() const { return size_ == 0; }
  constexpr const char* begin() const { return data_; }
  constexpr const char* end() const { return data_ + size_; }
  constexpr char front() const { return data_[0]; }
  constexpr char back() const { return data_[size_ - 1]; }
  constexpr char operator[](std::size_t index) const { return data_[index]; }
  constexpr std::size_t find(char c, std::size_t from = 0) const { return view().find(c, from); }
  constexpr std::size_t find(std::string_view text, std::size_t from = 0) const { return view().find(text, from); }
  constexpr std::string_view substr(std::size_t from, std::size_t count = npos) const {
    return view().substr(from, count);
  }

  friend constexpr bool operator==(const LineText& a, const LineText& b) { return a.view() == b.view(); }
  friend constexpr bool operator==(const LineText& a, std::string_view b) { return a.view() == b; }

 private:
  const char* data_ = nullptr;
  std::uint32_t size_ = 0;
};
#pragma pack(pop)

std::ostream& operator<<(std::ostream& out, const LineText& text);

}  // namespace zav
