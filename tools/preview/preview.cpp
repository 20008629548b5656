// kelvane-preview: prints what the core computes for a memory sample and settings, so that a
// developer (and the end-to-end tests) can compare the program with the core without Windows.
//
//   kelvane-preview [--settings FILE] --load N --total-phys B --avail-phys B
//                   --total-page B --avail-page B [--decimal C] [--thousands C]
//                   [--png FILE [--scale N]]
//   kelvane-preview [--settings FILE] --dump-settings
//   kelvane-preview [--settings FILE] --contact-sheet FILE
//
// The preview stands for a Windows 10 machine: defaults and system colours are Windows 10's.

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "app/memory_status.h"
#include "picture_output.h"
#include "settings/option_fields.h"
#include "settings/options.h"

using namespace kelvane;

namespace {

constexpr int kPreviewOsMajorVersion = 10;

int usage(const std::string& problem) {
  std::cerr << "kelvane-preview: " << problem << "\n"
            << "usage: kelvane-preview [--settings FILE] --load N --total-phys B --avail-phys B"
               " --total-page B --avail-page B [--decimal C] [--thousands C]"
               " [--png FILE [--scale N]]\n"
            << "       kelvane-preview [--settings FILE] --dump-settings\n"
            << "       kelvane-preview [--settings FILE] --contact-sheet FILE\n";
  return 2;
}

std::optional<std::uint64_t> parseUnsigned(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return {};
  try {
    return std::stoull(text);
  } catch (...) {
    return {};
  }
}

void printLines(const std::string& prefix, const std::string& text) {
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find("\r\n", start);
    std::cout << prefix << text.substr(start, end - start) << "\n";
    if (end == std::string::npos) break;
    start = end + 2;
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> values;
  bool dumpSettings = false;
  static const char* kValueOptions[] = {"--settings", "--load", "--total-phys", "--avail-phys",
                                        "--total-page", "--avail-page", "--decimal", "--thousands",
                                        "--save", "--png", "--scale", "--contact-sheet"};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--dump-settings") {
      dumpSettings = true;
      continue;
    }
    bool known = false;
    for (const char* option : kValueOptions) known = known || arg == option;
    if (!known) return usage("unknown argument " + arg);
    if (i + 1 >= argc) return usage(arg + " needs a value");
    values[arg] = argv[++i];
  }

  TKelvaneOptions options = defaultOptions(kPreviewOsMajorVersion);
  if (values.count("--settings")) return usage("--settings is not supported by this build yet");
  if (values.count("--save")) return usage("--save is not supported by this build yet");

  if (dumpSettings) {
    std::cout << dumpOptions(options);
    return 0;
  }
  const NumberFormat format = NumberFormat::fromSystem(
      values.count("--decimal") ? values["--decimal"] : ".",
      values.count("--thousands") ? values["--thousands"] : ",", "3;0");
  if (values.count("--contact-sheet")) {
    if (!preview::writeContactSheet(options, format, values["--contact-sheet"]))
      return usage("cannot write " + values["--contact-sheet"]);
    return 0;
  }
  int scale = 1;
  if (values.count("--scale")) {
    const auto parsed = parseUnsigned(values["--scale"]);
    if (!parsed || *parsed < 1 || *parsed > 64) return usage("--scale takes a whole number from 1 to 64");
    scale = static_cast<int>(*parsed);
  }

  MemorySample sample;
  const char* required[] = {"--load", "--total-phys", "--avail-phys", "--total-page", "--avail-page"};
  for (const char* name : required) {
    if (!values.count(name)) return usage(std::string(name) + " is required");
    const auto parsed = parseUnsigned(values[name]);
    if (!parsed) return usage(std::string(name) + " takes a non-negative whole number");
    if (std::string(name) == "--load") {
      if (*parsed > 100) return usage("--load takes a percentage from 0 to 100");
      sample.dwMemoryLoad = static_cast<std::uint32_t>(*parsed);
    } else if (std::string(name) == "--total-phys") {
      sample.ullTotalPhys = *parsed;
    } else if (std::string(name) == "--avail-phys") {
      sample.ullAvailPhys = *parsed;
    } else if (std::string(name) == "--total-page") {
      sample.ullTotalPageFile = *parsed;
    } else {
      sample.ullAvailPageFile = *parsed;
    }
  }

  std::cout << "display: " << DisplayText(sample, options, format) << "\n";
  std::cout << "level: " << loadLevelName(LoadLevel(sample, options)) << "\n";
  printLines("hint: ", HintText(sample, options, format));
  const TrayPicture picture = preview::composePreviewPicture(options, sample, format);
  preview::printPixels(picture);
  if (values.count("--png") && !preview::writePicturePng(picture, scale, values["--png"]))
    return usage("cannot write " + values["--png"]);
  return 0;
}
