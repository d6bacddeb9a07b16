// An INF read by the system's own INF parser (setupapi, bound at run time):
// the parser the INF installer uses, so encodings (ANSI, UTF-16), quotes,
// string tokens and continuation lines come out as the engine sees them.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <memory>
#include <string>

#include "base/unique_handle-win32.h"
#include "inf/inf_source.h"

namespace vantrel {

// Gives an INF back to setupapi, which the program binds at run time.
struct InfCloser : Win32Closer {
  void operator()(HINF inf) const;
};
using UniqueInf = UniqueHandle<HINF, InfCloser>;

class InfFile : public InfSource {
 public:
  // Throws PlatformFailure when setupapi cannot be bound or the parser
  // refuses the file; its text names the parser's error and line.
  explicit InfFile(const std::wstring& path);

  bool HasSection(const std::wstring& section) const override;
  std::vector<InfLine> Lines(const std::wstring& section) const override;
  std::wstring TargetFolder(const std::wstring& list) const override;
  // For setupapi's other calls on the same INF.
  HINF Handle() const { return inf_.get(); }

 private:
  UniqueInf inf_;
};

}  // namespace vantrel
