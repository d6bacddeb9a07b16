#include "base/text.h"

#include <algorithm>
#include <cstdint>

namespace vantrel {

std::wstring RemoveDoubleQuotes(std::wstring text) {
  text.erase(std::remove(text.begin(), text.end(), L'"'), text.end());
  return text;
}

std::wstring TrimBlanks(const std::wstring& text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::wstring();
  const std::size_t last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> parts(1);
  for (const wchar_t c : text) {
    if (c == separator) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

std::wstring Join(const std::vector<std::wstring>& items, const std::wstring& separator) {
  std::wstring joined;
  for (std::size_t i = 0; i < items.size(); ++i) joined += (i == 0 ? L"" : separator) + items[i];
  return joined;
}

bool AllDigits(const std::wstring& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

static wchar_t LowerAsciiChar(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring LowerAscii(const std::wstring& text) {
  std::wstring result = text;
  for (wchar_t& c : result) c = LowerAsciiChar(c);
  return result;
}

bool SplitEnvironmentEntry(const std::wstring& entry, EnvironmentEntryParts& parts) {
  const std::size_t equals = entry.find(L'=');
  if (equals == std::wstring::npos) return false;
  parts.name = LowerAscii(entry.substr(0, equals));
  parts.value = TrimBlanks(entry.substr(equals + 1));
  if (!parts.value.empty() && parts.value.back() == L'\\') parts.value.pop_back();
  return true;
}

std::wstring FromUtf8(const std::string& text) {
  std::wstring result;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                                       : (lead >> 3) == 0x1E ? 4 : 0;
    std::uint32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F
                                            : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length > 0 && i + length <= text.size();
    for (int k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    static const std::uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    valid = valid && code >= kShortest[length] && code <= 0x10FFFF &&
            !(code >= 0xD800 && code <= 0xDFFF);
    if (!valid) {
      result.push_back(static_cast<wchar_t>(0xFFFD));
      ++i;
      continue;
    }
    if (code > 0xFFFF && sizeof(wchar_t) == 2) {
      code -= 0x10000;
      result.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
      result.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
    } else {
      result.push_back(static_cast<wchar_t>(code));
    }
    i += static_cast<std::size_t>(length);
  }
  return result;
}

std::string ToUtf8(const std::wstring& text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t code = static_cast<std::uint32_t>(text[i]);
    const std::uint32_t next = i + 1 < text.size() ? static_cast<std::uint32_t>(text[i + 1]) : 0;
    if (code >= 0xD800 && code <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00);
      ++i;
    } else if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
      code = 0xFFFD;
    }
    const int length = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    static const std::uint32_t kLead[] = {0, 0x00, 0xC0, 0xE0, 0xF0};
    bytes += static_cast<char>(kLead[length] | (code >> (6 * (length - 1))));
    for (int k = length - 2; k >= 0; --k) {
      bytes += static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
    }
  }
  return bytes;
}

std::wstring ShortList(const std::vector<std::wstring>& items) {
  // More would bury the message; the count says the rest.
  constexpr std::size_t kNamed = 10;
  std::wstring named =
      Join({items.begin(), items.begin() + std::min(items.size(), kNamed)}, L", ");
  if (items.size() > kNamed) named += L" and " + std::to_wstring(items.size() - kNamed) + L" more";
  return named;
}

std::wstring FileNameOf(const std::wstring& path) {
  return path.substr(path.find_last_of(L"\\/") + 1);
}

bool IsAbsolutePath(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
    const wchar_t drive = LowerAsciiChar(path[0]);
    return drive >= L'a' && drive <= L'z';
  }
  return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

bool WildcardMatch(const std::wstring& pattern, const std::wstring& name) {
  // Iterative glob with one backtrack point: linear in practice, never
  // exponential, whatever the pattern.
  std::size_t p = 0, n = 0;
  std::size_t starP = std::wstring::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == L'?' ||
                LowerAsciiChar(pattern[p]) == LowerAsciiChar(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::wstring::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

}  // namespace vantrel
