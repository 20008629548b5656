#pragma once
// The short version label ("2.41 SR3") from a four-part version ("2.4.1.3").

#include <string>

namespace kelvane {

// a.b.c.d -> "a.b", then c appended directly when c > 0, then " SR" d when d > 0. Anything but
// exactly four decimal numbers gives "".
std::string VersionText(const std::string& version);

}  // namespace kelvane
