#include "child/question_watch.h"

namespace vantrel {

namespace {
// A message box's text is seldom long; an oversized one is cut so that the
// record stays readable.
constexpr std::size_t kTextKept = 400;

std::wstring Cut(const std::wstring& text) {
  return text.size() <= kTextKept ? text : text.substr(0, kTextKept) + L"...";
}
}  // namespace

bool QuestionWatch::QuestionWaiting() const {
  if (unattended_) return false;
  for (const auto& seen : seen_) {
    if (seen.second.asked) return true;
  }
  return false;
}

QuestionWatch::Verdict QuestionWatch::Look(const std::vector<ChildDialog>& open,
                                           std::uint64_t now) {
  Verdict verdict;
  std::map<DialogHandle, Seen> stillOpen;
  for (const ChildDialog& dialog : open) {
    // A progress dialog reports, it does not ask; should it turn into a
    // question later, it is timed from then.
    if (dialog.showsProgress) continue;
    const auto known = seen_.find(dialog.window);
    Seen seen = known != seen_.end() ? known->second : Seen{now, false};
    if (!seen.asked && now - seen.since >= kSettleMilliseconds) {
      seen.asked = true;
      if (questions_.size() < kQuestionsKept) {
        questions_.push_back(Question{Cut(dialog.caption), Cut(dialog.text), unattended_});
      }
      if (unattended_) {
        verdict.decline.push_back(dialog.window);
        if (declinedAt_ == kNever) declinedAt_ = now;
      }
    }
    stillOpen.emplace(dialog.window, seen);
  }
  seen_.swap(stillOpen);
  if (declinedAt_ != kNever && !jobEnded_ && now - declinedAt_ >= kGraceMilliseconds) {
    jobEnded_ = true;
    verdict.endJob = true;
  }
  return verdict;
}

}  // namespace vantrel
