#include "inf/inf_source.h"

#include "base/text.h"

namespace vantrel {

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

}  // namespace vantrel
