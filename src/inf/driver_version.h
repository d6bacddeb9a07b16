// The INF's DriverVer ([Version] section) as the INF engine reads it, string
// tokens replaced: the package's date and version, which the receipt of an
// install carries for the deployment tools' detection rules. A version is
// taken only in the form Windows' own version comparison takes (one to four
// decimal parts, each at most 65535), and given in four parts, a missing one
// 0, so a rule or script that compares versions never meets one it reads
// differently.
#pragma once

#include <string>

#include "inf/inf_source.h"

namespace vantrel {

struct DriverVer {
  // The line's fields as read, "01/02/2025,1.0.0.0"; empty: no DriverVer.
  std::wstring written;
  // "2025-01-02"; empty where the date is not a valid mm/dd/yyyy date.
  std::wstring date;
  // "1.0.0.0", each part in decimal; empty where none is usable.
  std::wstring version;
  // Why `date` or `version` is empty; empty where it is not.
  std::wstring whyNoDate, whyNoVersion;
};

DriverVer ReadDriverVer(const InfSource& inf);

// Two usable versions compared part by part, a missing part as 0: below 0
// where `a` is older, 0 where they are the same, above 0 where it is newer.
int CompareVersions(const std::wstring& a, const std::wstring& b);

}  // namespace vantrel
