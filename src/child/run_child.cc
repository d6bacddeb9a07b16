#include "child/run_child.h"

#include "child/output_digest.h"
#include "child/question_watch.h"
#include "base/resume.h"
#include "base/text.h"

namespace vantrel {

namespace {
// The longest a pass waits before it pumps messages and looks for
// questions again.
constexpr std::uint32_t kPassMilliseconds = 100;
}  // namespace

ChildOutcome RunChild(Platform& platform, ChildWatch& children, const ChildStart& start) {
  ChildOutcome outcome;
  // The handle that process creation gives is the one waited on: a process
  // number can be handed to another process once the child has ended.
  ScopedProcess process(ProcessCloser{&platform});
  const StatementResult launch = Resume([&] {
    process.reset(platform.LaunchHidden(start));
    outcome.started = true;
  });
  if (launch) outcome.failure = FromUtf8(launch.failure);
  Resume([&] { platform.PumpMessages(); });

  // Where the station cannot be asked, nobody is taken to be watching: a
  // question declined wrongly fails one install, one left open hangs them
  // all.
  bool unattended = true;
  if (outcome.started) Resume([&] { unattended = children.RunsUnattended(); });
  QuestionWatch questions(unattended);
  OutputDigest output;
  const auto drainOutput = [&] {
    if (start.streams == ChildStreams::kCaptured && outcome.started) {
      Resume([&] { output.Add(children.TakeChildOutput(process.get())); });
    }
  };

  // The child's quiet time (neither ended nor asking) is counted from here.
  std::uint64_t quietSince = 0, endedAt = 0, lastLook = 0, held = 0;
  Resume([&] { quietSince = lastLook = platform.Milliseconds(); });
  constexpr std::uint64_t kHoldCeiling = BoundOfMinutes(QuestionWatch::kHoldCeilingMinutes);
  bool jobEnded = false;
  // Ends the child with every process it started; it is then waited for a
  // grace time at most.
  const auto endJob = [&](std::uint64_t now) {
    jobEnded = true;
    endedAt = now;
    Resume([&] { children.EndChildJob(process.get()); });
  };

  // Each pass wakes as soon as the child ends or a message arrives, so the
  // wait costs nothing beyond the child's own run. "Ended" comes from the
  // process object itself: a child whose exit code happens to be
  // STILL_ACTIVE (259) is not waited on forever. A pass that cannot tell (no
  // process) ends the wait.
  for (;;) {
    bool ended = true;
    Resume([&] { ended = platform.AwaitProcessOrMessage(process.get(), kPassMilliseconds); });
    Resume([&] { platform.PumpMessages(); });
    drainOutput();
    if (ended) break;
    std::uint64_t now = quietSince;
    Resume([&] { now = platform.Milliseconds(); });
    QuestionWatch::Verdict verdict;
    Resume([&] {
      const std::vector<ChildDialog> open = children.OpenDialogsOfChild(process.get());
      verdict = questions.Look(open, now);
    });
    for (const DialogHandle dialog : verdict.decline) {
      Resume([&] { children.DeclineDialog(dialog); });
    }
    if (verdict.endJob) endJob(now);
    const std::uint64_t passed = now - lastLook;
    lastLook = now;
    if (jobEnded) {
      // A job the system would not end still dies with the program; the
      // run waits for it no longer than for a child whose question was
      // declined.
      if (now - endedAt >= QuestionWatch::kGraceMilliseconds) break;
    } else if (questions.QuestionWaiting() && held < kHoldCeiling) {
      held += passed;
      quietSince = now;
    } else if (now - quietSince >= start.boundMilliseconds) {
      outcome.endedAtBound = true;
      outcome.quietMilliseconds = now - quietSince;
      endJob(now);
    }
  }
  Resume([&] { outcome.exitCode = platform.GetExitCodeProcess(process.get()); });
  drainOutput();

  Resume([&] { process.reset(); });
  Resume([&] { platform.PumpMessages(); });
  outcome.questions = questions.questions();
  outcome.declined = questions.declined();
  outcome.output = output.Lines();
  return outcome;
}

}  // namespace vantrel
