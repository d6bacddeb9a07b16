// Statement-level resumption for the form's procedures. An install that
// meets a failure in one step goes on with the next: a statement that fails
// is abandoned, whatever it would have assigned keeps its old value (each
// statement assigns only after its last call has returned), and nothing
// stops the run. Ending the process is not a failure and passes through.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "base/text.h"

namespace vantrel {

// How a statement came out: run to its end, or abandoned with what the
// failure said, kept for the record of the run.
struct StatementResult {
  bool abandoned = false;
  std::string failure;
  explicit operator bool() const { return abandoned; }
};

// What an abandoned statement said, or, where it ran to its end, what the
// step found instead.
inline std::wstring ResultOf(const StatementResult& statement, const std::wstring& otherwise) {
  return statement ? FromUtf8(statement.failure) : otherwise;
}

// Runs one statement; a failure abandons just that statement.
template <typename Statement>
StatementResult Resume(Statement&& statement) {
  try {
    std::forward<Statement>(statement)();
  } catch (const std::exception& failure) {
    return StatementResult{true, failure.what()};
  }
  return StatementResult{};
}

// Evaluates the condition of a guard. A condition that fails to evaluate lets
// control go on to the guarded statement, as the next one in order.
template <typename Condition>
bool GuardHolds(Condition&& condition) {
  try {
    return std::forward<Condition>(condition)();
  } catch (const std::exception&) {
    return true;
  }
}

}  // namespace vantrel
