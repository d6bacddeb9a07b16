// Which of a child's dialogs are questions, and what to do about them. A
// dialog that waits for an answer nobody can give (an unattended run) would
// hold the install, and every run queued behind it, for ever.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "child/child_outcome.h"
#include "child/child_watch.h"

namespace vantrel {

class QuestionWatch {
 public:
  // A dialog still open this long after it was first seen waits for an
  // answer; a message flashed by an installer on its way is gone by then.
  static constexpr std::uint64_t kSettleMilliseconds = 2000;
  // How long a child may take to end after its question was declined
  // before every process of its job is ended.
  static constexpr std::uint64_t kGraceMilliseconds = 10000;
  // Questions kept for the record; a child that asks more is declined all
  // the same.
  static constexpr std::size_t kQuestionsKept = 5;
  // How long in all a child's questions may hold its bound while somebody
  // at the screen could answer them: a dialog left unanswered (or one kept
  // open, hidden, by an installer that never ends) must not hold the run
  // for ever.
  static constexpr std::uint64_t kHoldCeilingMinutes = 30;

  explicit QuestionWatch(bool unattended) : unattended_(unattended) {}

  struct Verdict {
    std::vector<DialogHandle> decline;
    bool endJob = false;
  };
  // One look at the child's open dialogs at the time `now`.
  Verdict Look(const std::vector<ChildDialog>& open, std::uint64_t now);

  const std::vector<Question>& questions() const { return questions_; }
  // At the last look a question (a dialog other than a progress dialog,
  // open for kSettleMilliseconds) waited for an answer somebody can give.
  // A dialog flashed for less never does, nor one declined: nobody is
  // answering it.
  bool QuestionWaiting() const;
  bool declined() const { return declinedAt_ != kNever; }
  // The child's job was ended because it did not end after its question
  // was declined.
  bool jobEnded() const { return jobEnded_; }

 private:
  static constexpr std::uint64_t kNever = ~std::uint64_t{0};
  struct Seen {
    std::uint64_t since;
    bool asked;
  };

  bool unattended_;
  std::map<DialogHandle, Seen> seen_;
  std::vector<Question> questions_;
  std::uint64_t declinedAt_ = kNever;
  bool jobEnded_ = false;
};

}  // namespace vantrel
