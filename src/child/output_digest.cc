#include "child/output_digest.h"

#include "base/text.h"

namespace vantrel {

namespace {
// What a terminal would show of a line that redraws itself: text after the
// last carriage return, each backspace taking back one character, no other
// control characters.
std::wstring AsShown(std::wstring text) {
  std::wstring shown;
  // A line that ends in "\r" (Windows line ends) shows what came before it.
  while (!text.empty() && text.back() == L'\r') text.pop_back();
  const std::size_t from = text.rfind(L'\r');
  for (std::size_t i = from == std::wstring::npos ? 0 : from + 1; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\b') {
      if (!shown.empty()) shown.pop_back();
    } else if (c >= 0x20 || c == L'\t') {
      shown.push_back(c == L'\t' ? L' ' : c);
    }
  }
  return TrimBlanks(shown);
}
}  // namespace

void OutputDigest::Add(const std::wstring& lines) {
  // The empty piece after a closing "\n" adds nothing.
  for (const std::wstring& line : Split(lines, L'\n')) AddLine(AsShown(line));
}

void OutputDigest::AddLine(std::wstring line) {
  if (line.empty()) return;
  if (line.size() > kBudget) line.resize(kBudget);
  // 7-Zip's "ERROR: <file>", "Open ERROR: ...", "ERRORS:".
  if (line.find(L"ERROR:") != std::wstring::npos || line.compare(0, 7, L"ERRORS:") == 0) {
    if (errorsSize_ + line.size() <= kBudget && errors_.size() < kMostLines) {
      errorsSize_ += line.size();
      errors_.push_back(line);
    }
    return;
  }
  tailSize_ += line.size();
  tail_.push_back(std::move(line));
  while (tailSize_ > kBudget) {
    tailSize_ -= tail_.front().size();
    tail_.pop_front();
  }
}

std::vector<std::wstring> OutputDigest::Lines() const {
  std::vector<std::wstring> lines = errors_;
  std::size_t left = kBudget - errorsSize_;
  // The last lines that fit what the error lines left.
  std::size_t from = tail_.size();
  while (from > 0 && tail_[from - 1].size() <= left &&
         lines.size() + (tail_.size() - from) < kMostLines) {
    left -= tail_[from - 1].size();
    --from;
  }
  lines.insert(lines.end(), tail_.begin() + static_cast<std::ptrdiff_t>(from), tail_.end());
  return lines;
}

}  // namespace vantrel
