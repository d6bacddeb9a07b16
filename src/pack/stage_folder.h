// The private folder a run of vantrel-pack makes its cabinets in, or unpacks
// a package into to read it.
#pragma once

#include <string>

#include "pack/pack_machine.h"

namespace vantrel {

// Made under the user's temporary folder; removed with what it holds when
// the owner goes, whichever way the program leaves.
class StageFolder {
 public:
  explicit StageFolder(PackMachine& machine)
      : platform_(machine.platform), path_(machine.files.MakeStageFolder()) {}
  ~StageFolder() {
    // A leftover in the user's temporary folder is no reason to fail the run.
    try {
      platform_.DeleteTree(path_);
    } catch (const PlatformFailure&) {
    }
  }
  StageFolder(const StageFolder&) = delete;
  StageFolder& operator=(const StageFolder&) = delete;
  const std::wstring& path() const { return path_; }

 private:
  Platform& platform_;
  std::wstring path_;
};

}  // namespace vantrel
