#include "zazaz32/str255.h"

#include <algorithm>
#include <cstring>

void Str255::assign(std::string_view text) {
  len_ = static_cast<std::uint8_t>(std::min<std::size_t>(text.size(), kMax));
  std::memcpy(buf_, text.data(), len_);
}

Str255 Str255::copy(int pos, int count) const {
  if (pos < 1) pos = 1;
  if (pos > len_ || count <= 0) return Str255();
  int n = std::min(count, len_ - pos + 1);
  return Str255(std::string_view(buf_ + pos - 1, n));
}

int Str255::pos(char c) const {
  const void* hit = std::memchr(buf_, static_cast<unsigned char>(c), len_);
  return hit ? static_cast<int>(static_cast<const char*>(hit) - buf_) + 1 : 0;
}

int Str255::pos(std::string_view text) const {
  std::size_t at = view().find(text);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

Str255& Str255::operator+=(std::string_view text) {
  std::size_t room = kMax - len_;
  std::size_t n = std::min(room, text.size());
  std::memmove(buf_ + len_, text.data(), n);
  len_ = static_cast<std::uint8_t>(len_ + n);
  return *this;
}
