#ifndef VESK_ZAZAZ32_STR255_H_
#define VESK_ZAZAZ32_STR255_H_

#include <cstdint>
#include <string>
#include <string_view>

// A byte string of at most 255 characters, the one string type of the program.
// Every assignment or concatenation that would grow past 255 keeps the first 255.
class Str255 {
 public:
  static constexpr int kMax = 255;

  Str255() = default;
  Str255(const char* text) { assign(std::string_view(text)); }  // NOLINT: implicit by design
  Str255(std::string_view text) { assign(text); }               // NOLINT
  Str255(const std::string& text) { assign(text); }             // NOLINT
  Str255(char c) { assign(std::string_view(&c, 1)); }           // NOLINT

  int length() const { return len_; }
  bool empty() const { return len_ == 0; }
  std::string_view view() const { return std::string_view(buf_, len_); }
  std::string str() const { return std::string(buf_, len_); }
  const char* data() const { return buf_; }

  // 0-based access; at(i) is 1-based and gives 0 outside the text.
  char operator[](int i) const { return buf_[i]; }
  char& operator[](int i) { return buf_[i]; }
  char at(int pos) const { return pos >= 1 && pos <= len_ ? buf_[pos - 1] : '\0'; }
  char first() const { return len_ > 0 ? buf_[0] : '\0'; }
  char last() const { return len_ > 0 ? buf_[len_ - 1] : '\0'; }

  // Pascal-style copy: count characters from the 1-based position pos, cut at the end.
  Str255 copy(int pos, int count) const;
  // 1-based position of the first occurrence of c or of text, 0 when none.
  int pos(char c) const;
  int pos(std::string_view text) const;
  bool contains(char c) const { return pos(c) != 0; }
  bool starts_with(std::string_view text) const { return view().starts_with(text); }

  Str255& operator+=(std::string_view text);
  Str255& operator+=(const Str255& text) { return *this += text.view(); }
  Str255& operator+=(const char* text) { return *this += std::string_view(text); }
  Str255& operator+=(char c) { return *this += std::string_view(&c, 1); }

  void truncate(int length) {
    if (length >= 0 && length < len_) len_ = static_cast<std::uint8_t>(length);
  }

  friend Str255 operator+(Str255 a, const Str255& b) { return a += b; }
  friend bool operator==(const Str255& a, const Str255& b) { return a.view() == b.view(); }

 private:
  void assign(std::string_view text);

  std::uint8_t len_ = 0;
  char buf_[kMax];
};

#endif  // VESK_ZAZAZ32_STR255_H_
