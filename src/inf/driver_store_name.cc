#include "inf/driver_store_name.h"

#include "base/text.h"

namespace vantrel {

bool IsDriverStoreInfName(const std::wstring& name) {
  // The digits between the three letters and the four of the extension.
  return WildcardMatch(L"oem?*.inf", name) && AllDigits(name.substr(3, name.size() - 7));
}

}  // namespace vantrel
