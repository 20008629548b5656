// kelvane-preview: prints what the core computes for a memory sample and settings, so that a
// developer (and the end-to-end tests) can compare the program with the core without Windows.
//
//   kelvane-preview [--settings FILE] --load N --total-phys B --avail-phys B
//                   --total-page B --avail-page B [--decimal C] [--thousands C]
//                   [--png FILE [--scale N]] [--processes FILE] [--size N] [--taskbar dark|light]
//   kelvane-preview [--settings FILE] --dump-settings
//   kelvane-preview [--settings FILE] --save OUT
//   kelvane-preview [--settings FILE] --contact-sheet FILE [--size N] [--taskbar dark|light]
//   kelvane-preview --history-samples FILE [--write-history OUT] [--now SECONDS]
//   kelvane-preview --history-file FILE [--now SECONDS]
//   kelvane-preview --language-template
//
// The preview stands for a Windows 10 machine: defaults and system colours are Windows 10's.
// FILE is read as it lies on disk and OUT is written the same way: the program converts the
// system code page to UTF-8 and back, the preview passes the bytes through unchanged, so ASCII
// files and UTF-8 files give what the program gives (a code page 936 file's Chinese section
// name is kept, but not recognised). The preview has no data folder: a LogFile missing from
// FILE dumps as empty, and no first-run theme is applied.
//
// --size N (16 to 256) draws the picture, and the contact sheet's pictures, as the notification
// area shows them at N pixels: the design for that size, doubled or centred where N has none.
//
// --taskbar draws the picture as on a dark or a light taskbar (FollowTaskbarTheme); without it,
// as on a system that has no such mode.
//
// --processes FILE adds the tray menu for that sample, settings and processes after the usual
// lines, one `menu:` line per entry in menu order (see menu_output.h for both formats).
//
// --history-samples and --history-file print the memory history (see history_output.h), at the
// clock's time or at --now SECONDS (UTC seconds since 1970).
//
// --language-template prints the English texts as a language file for a translator to start from.

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <map>
#include <optional>
#include <string>

#include "actions/hotkey_value.h"
#include "common/language.h"
#include "history_output.h"
#include "memory/memory_status.h"
#include "menu_output.h"
#include "picture_output.h"
#include "settings/option_fields.h"
#include "settings/options.h"
#include "settings/settings_codec.h"

using namespace kelvane;

namespace {

constexpr int kPreviewOsMajorVersion = 10;

int usage(const std::string& problem) {
  std::cerr << "kelvane-preview: " << problem << "\n"
            << "usage: kelvane-preview [--settings FILE] --load N --total-phys B --avail-phys B"
               " --total-page B --avail-page B [--decimal C] [--thousands C]"
               " [--png FILE [--scale N]] [--processes FILE] [--size N] [--taskbar dark|light]\n"
            << "       kelvane-preview [--settings FILE] --dump-settings\n"
            << "       kelvane-preview [--settings FILE] --save OUT\n"
            << "       kelvane-preview [--settings FILE] --contact-sheet FILE [--size N] [--taskbar dark|light]\n"
            << "       kelvane-preview --history-samples FILE [--write-history OUT] [--now SECONDS]\n"
            << "       kelvane-preview --history-file FILE [--now SECONDS]\n"
            << "       kelvane-preview --language-template\n";
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

std::optional<std::string> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  return static_cast<bool>(out);
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

int readFailure(const std::string& path) {
  std::cerr << "kelvane-preview: cannot read " << path << "\n";
  return 1;
}

int historyMain(std::map<std::string, std::string>& values) {
  if (values.size() != 1 + values.count("--write-history") + values.count("--now") ||
      (values.count("--write-history") && !values.count("--history-samples")))
    return usage("--history-samples takes only --write-history and --now; --history-file only --now");
  std::int64_t now = std::time(nullptr);
  if (values.count("--now")) {
    const auto parsed = parseUnsigned(values["--now"]);
    if (!parsed || *parsed > std::uint64_t{1} << 40) return usage("--now takes UTC seconds since 1970");
    now = static_cast<std::int64_t>(*parsed);
  }
  if (values.count("--history-file")) {
    const auto bytes = readBytes(values["--history-file"]);
    if (!bytes) return readFailure(values["--history-file"]);
    std::string note;
    const bool read = preview::printHistoryFile(*bytes, now, std::cout, note);
    if (!note.empty()) std::cerr << "kelvane-preview: " << values["--history-file"] << ": " << note << "\n";
    return read ? 0 : 1;
  }
  const auto samples = readBytes(values["--history-samples"]);
  if (!samples) return readFailure(values["--history-samples"]);
  preview::printSampleMinutes(*samples, std::cout);
  if (values.count("--write-history") &&
      !preview::writeSampleHistory(*samples, now, values["--write-history"])) {
    std::cerr << "kelvane-preview: cannot write " << values["--write-history"] << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> values;
  bool dumpSettings = false;
  static const char* kValueOptions[] = {"--settings", "--load", "--total-phys", "--avail-phys",
                                        "--total-page", "--avail-page", "--decimal", "--thousands",
                                        "--save", "--png", "--scale", "--contact-sheet",
                                        "--processes", "--history-samples", "--history-file",
                                        "--write-history", "--now", "--size", "--taskbar"};
  if (argc >= 2 && std::string(argv[1]) == "--language-template") {
    if (argc > 2) return usage("--language-template takes nothing else");
    std::cout << languageTemplate();
    return 0;
  }
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

  if (values.count("--history-samples") || values.count("--history-file"))
    return historyMain(values);
  if (values.count("--now")) return usage("--now goes with --history-samples or --history-file");

  IniDocument settingsFile;
  if (values.count("--settings")) {
    const auto bytes = readBytes(values["--settings"]);
    if (!bytes) return readFailure(values["--settings"]);
    settingsFile = IniDocument::parse(*bytes);
  }
  const SettingsContext context{kPreviewOsMajorVersion, ""};
  const TKelvaneOptions options = LoadOptionsFromIni(settingsFile, context).options;
  // The preview stands for a Chinese Windows: Chinese, unless the settings name a language.
  constexpr std::uint16_t kSimplifiedChineseUi = 0x0804;
  speak(languageOfTag(chooseLanguage(options.Language, kSimplifiedChineseUi, kChineseTag, {}), {}));

  if (values.count("--save")) {
    SaveOptionsToIni(settingsFile, options);
    if (!writeBytes(values["--save"], settingsFile.serialize())) {
      std::cerr << "kelvane-preview: cannot write " << values["--save"] << "\n";
      return 1;
    }
  }
  if (dumpSettings) {
    std::cout << dumpOptions(options, settingsFile);
    return 0;
  }
  TaskbarLook taskbar;
  if (values.count("--taskbar")) {
    if (values["--taskbar"] != "dark" && values["--taskbar"] != "light") return usage("--taskbar takes dark or light");
    taskbar.light = values["--taskbar"] == "light";
  }
  const NumberFormat format = NumberFormat::fromSystem(
      values.count("--decimal") ? values["--decimal"] : ".",
      values.count("--thousands") ? values["--thousands"] : ",", "3;0");
  int size = TrayImageSize;
  if (values.count("--size")) {
    const auto parsed = parseUnsigned(values["--size"]);
    if (!parsed || *parsed < 16 || *parsed > 256) return usage("--size takes a whole number from 16 to 256");
    size = static_cast<int>(*parsed);
  }
  if (values.count("--contact-sheet")) {
    if (!preview::writeContactSheet(options, format, size, values["--contact-sheet"], taskbar))
      return usage("cannot write " + values["--contact-sheet"]);
    return 0;
  }
  if (values.count("--save") && !values.count("--load")) return 0;
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
  const TrayPicture picture = preview::composePreviewPicture(options, sample, format, size, taskbar);
  preview::printPixels(picture);
  if (values.count("--png") && !preview::writePicturePng(picture, scale, values["--png"]))
    return usage("cannot write " + values["--png"]);
  if (values.count("--processes")) {
    const auto bytes = readBytes(values["--processes"]);
    if (!bytes) return readFailure(values["--processes"]);
    const preview::ProcessFile processes = preview::parseProcessFile(*bytes);
    if (!processes.error.empty()) {
      std::cerr << "kelvane-preview: " << values["--processes"] << ", " << processes.error << "\n";
      return 1;
    }
    TrayMenuInputs inputs;
    inputs.options = options;
    inputs.lastSample = sample;
    inputs.hintText = HintText(sample, options, format);
    inputs.numberFormat = format;
    // The menu names keys through the keyboard layout as well; the preview has none and names
    // the keys of our own table (letters, digits, function and editing keys).
    inputs.releaseShortcutText = RefreshShortcutText(static_cast<std::uint32_t>(options.RefreshHotkey));
    const DescriptionSource describe = [&](const std::string& path) {
      for (const auto& [describedPath, description] : processes.descriptions)
        if (describedPath == path) return description;
      return std::string();
    };
    for (const MenuEntry& entry : BuildTrayMenu(inputs, processes.records, describe))
      std::cout << preview::menuLine(entry) << "\n";
  }
  return 0;
}
