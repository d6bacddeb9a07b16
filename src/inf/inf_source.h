// An INF as the system's INF parser reads it: sections found by name
// regardless of case, lines with their key and fields, string tokens
// (%name%) already replaced, quotes and continuation lines resolved. The
// rules that read it (install_plan.h) do not care where it came from.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

// The processor an INF engine installs for: the platform decorations it
// takes (.NTx86, .x86 or .NTamd64, .amd64).
enum class InfArchitecture { kX86, kAmd64 };

struct InfLine {
  std::wstring key;                  // empty for a line without "="
  std::vector<std::wstring> fields;  // field 1 first
  // Field n (from 1), empty where the line has none.
  std::wstring Field(std::size_t n) const {
    return n >= 1 && n <= fields.size() ? fields[n - 1] : std::wstring();
  }
};

class InfSource {
 public:
  virtual ~InfSource() = default;
  virtual bool HasSection(const std::wstring& section) const = 0;
  // The section's lines in order; none for a section the INF lacks.
  virtual std::vector<InfLine> Lines(const std::wstring& section) const = 0;
  // Where the engine puts a file-list section's files on this machine, as
  // it resolves [DestinationDirs] and its DIRIDs; `list` empty: the folder
  // of "@file" copies (DefaultDestDir).
  virtual std::wstring TargetFolder(const std::wstring& list) const = 0;
};

// The first line of the section whose key is `key` (in any case); false
// where the section has none.
bool FindLine(const InfSource& inf, const std::wstring& section, const std::wstring& key,
              InfLine& found);

// The non-empty fields of every line of the section whose key is the
// directive (in any case), in order: the sections that its CopyFiles, AddReg
// or Needs lines name.
std::vector<std::wstring> DirectiveFields(const InfSource& inf, const std::wstring& section,
                                          const std::wstring& directive);

// The sections the engine processes for an install section: the section,
// then the sections of this INF that its Needs entries name, as Microsoft's
// documentation of DefaultInstall gives them. A needed section's own Needs
// are not followed; a section an Include'd INF of the system holds is that
// INF's, not this one's.
std::vector<std::wstring> ProcessedSections(const InfSource& inf, const std::wstring& section);

}  // namespace vantrel
