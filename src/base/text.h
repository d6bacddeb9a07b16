// Pure text rules shared by the start-up and the environment scan.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

// The argument with every double quote removed, wherever it stands; blanks
// stay, so two paths on the command line stay one (non-existent) path.
std::wstring RemoveDoubleQuotes(std::wstring text);

// The text without leading and trailing space characters.
std::wstring TrimBlanks(const std::wstring& text);

// The pieces of the text between separators, empty ones included: one
// piece for text without any.
std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator);

// The items one after the other, the separator between each two.
std::wstring Join(const std::vector<std::wstring>& items, const std::wstring& separator);

// Whether the text is one or more of the digits 0 to 9, nothing else.
bool AllDigits(const std::wstring& text);

// ASCII letters lowered; other characters unchanged, so the result never
// depends on the locale.
std::wstring LowerAscii(const std::wstring& text);

// One environment entry taken apart: the name before the first "=", lowered;
// the value after it without surrounding blanks and without one trailing
// "\". False for text without any "=", which names no variable.
struct EnvironmentEntryParts {
  std::wstring name;
  std::wstring value;
};
bool SplitEnvironmentEntry(const std::wstring& entry, EnvironmentEntryParts& parts);

// UTF-8 (as failures carry the system's text) as wide text; a byte that
// begins no valid sequence becomes U+FFFD.
std::wstring FromUtf8(const std::string& text);
// Wide text (UTF-16 on Windows, UTF-32 where the unit tests run) as UTF-8;
// an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(const std::wstring& text);

// "a, b, c": the items as a message names them, at most ten, a count
// standing for the rest ("... and 2 more").
std::wstring ShortList(const std::vector<std::wstring>& items);

// The last part of a path: what follows its last "\" or "/", the whole text
// where it has neither.
std::wstring FileNameOf(const std::wstring& path);

// Whether the path names one place whatever the current drive and folder: a
// drive with its root ("C:\...") or a UNC path ("\\server\share...").
bool IsAbsolutePath(const std::wstring& path);

// Whether a file name matches a pattern of "*" and "?" wildcards, ignoring
// the case of ASCII letters.
bool WildcardMatch(const std::wstring& pattern, const std::wstring& name);

}  // namespace vantrel
