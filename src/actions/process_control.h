#pragma once
// Ending a process, or trimming its working set, for an entry of the tray menu, through the
// process layer: only the process the entry stands for or, for a merged entry, the instances
// of its path in the user's own session, each opened with the rights its action needs and no
// more. What the system refuses comes back as the text the error display shows.

#include <cstdint>
#include <optional>
#include <string>

#include "commands/process_item.h"
#include "common/number_format.h"
#include "process/process_platform.h"

namespace kelvane {

// The text of a failed end or, with `end` false, a failed release of the process `name`.
std::string ProcessActionFailureText(bool end, const std::string& name, const std::string& message);

// The entry's own process, if it still runs and is still the one the menu showed (same path
// and creation time, since ids are reused). One that has ended, or whose id now names another
// process, is left alone without a word. Returns the failure's text; empty when there is none.
std::string EndOrReleaseProcess(ProcessPlatform& platform, const ProcessItem& item, bool end);

// Every instance of `path` in a new snapshot (`usePagefile` as the settings have it) that runs
// in this program's session: the copies other users run are not the user's to end, whatever
// privileges the program holds. Each instance is handled even when another fails; the first
// failure's text is returned. An empty path matches no process. The instance whose id is
// `thisProgram` is skipped when ending, and `thisProgramAmong` tells the caller it was there:
// this program ends through its Exit command, which saves the settings first.
std::string ApplyToAllInstances(ProcessPlatform& platform, const std::string& path, bool end, bool usePagefile,
                                std::uint32_t thisProgram = 0, bool* thisProgramAmong = nullptr);

// The working set of what the entry stands for: its own process while it is still the one the
// menu showed, or for a merged entry the sum over the instances of its path in the user's
// session (`usePagefile` as the settings have it). Nothing when none of them runs.
std::optional<std::uint64_t> EntryWorkingSet(ProcessPlatform& platform, const ProcessItem& item, bool usePagefile);

// What a release from the process dialog says once it has settled: "已释放 notepad.exe 的 12 MB"
// for the working set `before` the trim less the one `after` it, or "notepad.exe 没有可释放的内存"
// when that is nothing or less, or a figure is missing (the process has gone).
std::string ProcessReleaseFeedback(const std::string& name, std::optional<std::uint64_t> before,
                                   std::optional<std::uint64_t> after, const NumberFormat& format);

}  // namespace kelvane
