#include "inf_text.h"

#include "base/text.h"

namespace vantrel {

namespace {

// Splits at the separator where it stands outside quotes; quotes go.
std::vector<std::wstring> SplitOutsideQuotes(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> parts(1);
  bool quoted = false;
  for (const wchar_t c : text) {
    if (c == L'"') {
      quoted = !quoted;
    } else if (c == separator && !quoted) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

// The position of the first "=" outside quotes, or npos.
std::size_t EqualsOutsideQuotes(const std::wstring& line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == L'"') quoted = !quoted;
    if (line[i] == L'=' && !quoted) return i;
  }
  return std::wstring::npos;
}

std::wstring Unquoted(const std::wstring& text) { return SplitOutsideQuotes(text, L'\0')[0]; }

std::wstring WithoutComment(const std::wstring& line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == L'"') quoted = !quoted;
    if (line[i] == L';' && !quoted) return line.substr(0, i);
  }
  return line;
}

}  // namespace

InfText::InfText(const std::wstring& text) {
  std::vector<std::pair<std::wstring, std::wstring>> raw;  // section, line
  std::wstring section;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = TrimBlanks(WithoutComment(text.substr(start, end - start)));
    start = end + 1;
    std::wstring clean = line;
    if (!clean.empty() && clean.back() == L'\r') clean.pop_back();
    if (clean.empty()) continue;
    if (clean.front() == L'[' && clean.back() == L']') {
      section = LowerAscii(clean.substr(1, clean.size() - 2));
      sections_[section];
    } else if (!section.empty()) {
      raw.emplace_back(section, clean);
    }
  }
  std::map<std::wstring, std::wstring> strings;
  for (const auto& entry : raw) {
    if (entry.first != L"strings") continue;
    const std::size_t equals = EqualsOutsideQuotes(entry.second);
    if (equals == std::wstring::npos) continue;
    strings[LowerAscii(TrimBlanks(Unquoted(entry.second.substr(0, equals))))] =
        Unquoted(TrimBlanks(entry.second.substr(equals + 1)));
  }
  const auto substitute = [&](const std::wstring& field) {
    std::wstring out;
    for (std::size_t i = 0; i < field.size(); ++i) {
      const std::size_t close = field[i] == L'%' ? field.find(L'%', i + 1) : std::wstring::npos;
      if (close == std::wstring::npos) {
        out.push_back(field[i]);
        continue;
      }
      const auto found = strings.find(LowerAscii(field.substr(i + 1, close - i - 1)));
      out += close == i + 1 ? L"%" : found != strings.end() ? found->second : field.substr(i, close - i + 1);
      i = close;
    }
    return out;
  };
  for (const auto& entry : raw) {
    InfLine line;
    std::wstring values = entry.second;
    const std::size_t equals = EqualsOutsideQuotes(values);
    if (equals != std::wstring::npos) {
      line.key = substitute(TrimBlanks(Unquoted(values.substr(0, equals))));
      values = values.substr(equals + 1);
    }
    for (const std::wstring& field : SplitOutsideQuotes(values, L',')) {
      line.fields.push_back(substitute(TrimBlanks(field)));
    }
    sections_[entry.first].push_back(line);
  }
}

bool InfText::HasSection(const std::wstring& section) const {
  return sections_.count(LowerAscii(section)) != 0;
}

std::vector<InfLine> InfText::Lines(const std::wstring& section) const {
  const auto found = sections_.find(LowerAscii(section));
  return found == sections_.end() ? std::vector<InfLine>() : found->second;
}

}  // namespace vantrel
