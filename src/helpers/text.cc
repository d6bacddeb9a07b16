#include "helpers/text.h"

namespace vantrel {

std::wstring RemoveDoubleQuotes(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size());
  for (wchar_t c : text) {
    if (c != L'"') result.push_back(c);
  }
  return result;
}

std::wstring TrimBlanks(const std::wstring& text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::wstring();
  const std::size_t last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
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
