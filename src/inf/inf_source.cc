#include "inf/inf_source.h"

#include <algorithm>

#include "base/text.h"

namespace vantrel {

bool FindLine(const InfSource& inf, const std::wstring& section, const std::wstring& key,
              InfLine& found) {
  const std::wstring wanted = LowerAscii(key);
  const std::vector<InfLine> lines = inf.Lines(section);
  const auto line = std::find_if(lines.begin(), lines.end(),
                                 [&](const InfLine& l) { return LowerAscii(l.key) == wanted; });
  if (line == lines.end()) return false;
  found = *line;
  return true;
}

std::vector<std::wstring> DirectiveFields(const InfSource& inf, const std::wstring& section,
                                          const std::wstring& directive) {
  const std::wstring wanted = LowerAscii(directive);
  std::vector<std::wstring> fields;
  for (const InfLine& line : inf.Lines(section)) {
    if (LowerAscii(line.key) != wanted) continue;
    for (const std::wstring& field : line.fields) {
      if (!field.empty()) fields.push_back(field);
    }
  }
  return fields;
}

std::vector<std::wstring> ProcessedSections(const InfSource& inf, const std::wstring& section) {
  std::vector<std::wstring> sections{section};
  for (const std::wstring& needed : DirectiveFields(inf, section, L"Needs")) {
    if (inf.HasSection(needed)) sections.push_back(needed);
  }
  return sections;
}

}  // namespace vantrel
