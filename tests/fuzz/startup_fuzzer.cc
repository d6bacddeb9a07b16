// Feeds arbitrary command lines and environments through the start-up and
// the install on the recording platform, and through the digest of a
// console child's output. Input: the first line is the
// argument text, every further line one environment entry; bytes are taken
// as Latin-1, plus two-byte sequences after 0xFF as UTF-16 units so that
// characters outside any code page appear too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "child/output_digest.h"
#include "form/vantrel.h"
#include "base/text.h"
#include "memory_machine.h"

namespace {

std::vector<std::wstring> Lines(const std::uint8_t* data, std::size_t size) {
  std::vector<std::wstring> lines(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      lines.emplace_back();
    } else if (data[i] == 0xFF && i + 2 < size) {
      lines.back().push_back(static_cast<wchar_t>(data[i + 1] | (data[i + 2] << 8)));
      i += 2;
    } else {
      lines.back().push_back(static_cast<wchar_t>(data[i]));
    }
  }
  return lines;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrel;
  std::vector<std::wstring> lines = Lines(data, size);

  const std::wstring cleaned = RemoveDoubleQuotes(lines[0]);
  Check(cleaned.find(L'"') == std::wstring::npos);

  MemoryMachine platform;
  platform.argumentText = lines[0];
  platform.environment.assign(lines.begin() + 1, lines.end());
  // Let whatever the argument names exist, so the install runs on to the end.
  const std::wstring candidate = TrimBlanks(cleaned);
  platform.shortPaths[candidate] = candidate;
  platform.existingPaths.insert(candidate);

  Vantrel form(platform);
  form.ReadEnvironment();
  Check(EndsWith(form.Temp, L"\\Temp\\Vantrel"));
  Check(form.Temp == form.SystemRoot + L"\\Temp\\Vantrel");
  // Never a drive-relative system folder, whatever the environment says.
  Check(IsAbsolutePath(form.SystemRoot));

  const std::uint32_t code = platform.RunProgram();
  Check(kInstallExits.Find(code) != nullptr);
  // Every child is started from a full path, never found by a search.
  for (const auto& program : platform.launchedPrograms) Check(IsAbsolutePath(program));
  bool environmentHasQuotes = false;
  for (const auto& entry : platform.environment) {
    environmentHasQuotes = environmentHasQuotes || entry.find(L'"') != std::wstring::npos;
  }
  for (const auto& command : platform.launched) {
    // No quote of the argument reaches a command: only the program's own
    // quoting is there (an environment may hold quotes of its own).
    if (environmentHasQuotes || command.rfind(L"rundll32 ", 0) == 0) continue;
    std::size_t quotes = 0;
    for (wchar_t c : command) quotes += c == L'"';
    Check(quotes == 4 || quotes == 6);
  }

  // The same bytes as a console child's output: the record keeps whole
  // lines within its budget, whatever the child printed.
  OutputDigest digest;
  for (const auto& line : lines) digest.Add(line + L"\n");
  std::size_t kept = 0;
  for (const auto& line : digest.Lines()) {
    Check(!line.empty() && line.find(L'\n') == std::wstring::npos);
    kept += line.size();
  }
  Check(kept <= OutputDigest::kBudget);
  Check(digest.Lines().size() <= OutputDigest::kMostLines);
  return 0;
}
