// Keeps what a console child printed that explains a failure: its error
// lines and its last lines, in bounded memory however much it prints.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace vantrel {

class OutputDigest {
 public:
  // About this much text goes into the record, in at most so many lines
  // (each line of the record is a string of the event).
  static constexpr std::size_t kBudget = 1024;
  static constexpr std::size_t kMostLines = 20;

  // Complete lines as the child wrote them, "\n" between them; progress
  // redrawn in place with "\r" or "\b" counts as what it finally shows.
  void Add(const std::wstring& lines);
  // The lines for the record: error lines (those saying "ERROR:") first,
  // then the last lines not already among them, within the budget.
  std::vector<std::wstring> Lines() const;

 private:
  void AddLine(std::wstring line);

  std::vector<std::wstring> errors_;
  std::size_t errorsSize_ = 0;
  std::deque<std::wstring> tail_;
  std::size_t tailSize_ = 0;
};

}  // namespace vantrel
