// An INF read by the system's own INF parser (setupapi, bound at run time):
// the parser the INF installer uses, so encodings (ANSI, UTF-16), quotes,
// string tokens and continuation lines come out as the engine sees them.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <memory>
#include <string>

#include "inf/inf_source.h"

namespace vantrel {

class InfFile : public InfSource {
 public:
  // Throws PlatformFailure when setupapi cannot be bound or the parser
  // refuses the file; its text names the parser's error and line.
  explicit InfFile(const std::wstring& path);
  ~InfFile() override;
  InfFile(const InfFile&) = delete;
  InfFile& operator=(const InfFile&) = delete;

  bool HasSection(const std::wstring& section) const override;
  std::vector<InfLine> Lines(const std::wstring& section) const override;
  // For setupapi's other calls on the same INF.
  HINF Handle() const { return inf_; }

 private:
  void* inf_;
};

}  // namespace vantrel
