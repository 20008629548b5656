#pragma once
// The web pages the program opens or reads, all on the maker's site except the donation page,
// and the one rule every address passes before the shell opens it.

#include <string>
#include <string_view>

namespace kelvane {

// The maker's web site: it serves the version file, the download page and the support page.
inline constexpr std::string_view kMakerSite = "https://www.brimvale.com";
inline constexpr std::string_view kDonationPage = "https://www.paypal.me/brimvale";

inline std::string makerPage(std::string_view path) { return std::string(kMakerSite) + std::string(path); }
inline std::string versionFileAddress() { return makerPage("/ver/curr_ver.txt"); }
inline std::string downloadPage() { return makerPage("/Downloads.php"); }
inline std::string supportPage() { return makerPage("/Support.php"); }

// Only web addresses are handed to the shell: "http://" or "https://" (any letter case) with a
// host, and no blank or control character anywhere. Anything else (a program path, a "file:"
// or "javascript:" address) could run something on the user's machine.
bool isWebAddress(std::string_view address);

}  // namespace kelvane
