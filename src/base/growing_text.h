// Text that a system call writes into the caller's buffer, at any length:
// the one loop behind every such call, Windows' own and the platform
// interface's alike.
#pragma once

#include <cstddef>
#include <string>

namespace vantrel {

// What `fill` returns where the call failed.
constexpr std::size_t kTextCallFailed = static_cast<std::size_t>(-1);

// `fill(buffer, size)` returns the length it wrote (less than size), or where
// the buffer is too small, at least size: the size it needs with its closing
// NUL, or size itself for the calls that only truncate, which doubles the
// buffer. False where the call failed, or still wants more after `tries`
// calls (a text that keeps changing under them).
template <typename Fill>
bool AskGrowingText(Fill fill, std::size_t firstSize, int tries, std::wstring& text) {
  std::wstring buffer(firstSize, L'\0');
  for (int attempt = 0; attempt < tries; ++attempt) {
    const std::size_t n = fill(&buffer[0], buffer.size());
    if (n == kTextCallFailed) return false;
    if (n < buffer.size()) {
      buffer.resize(n);
      text = buffer;
      return true;
    }
    buffer.resize(n > buffer.size() ? n : buffer.size() * 2);
  }
  return false;
}

}  // namespace vantrel
