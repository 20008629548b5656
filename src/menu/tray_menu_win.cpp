#include "menu/tray_menu_win.h"

#include "process/file_version_reader_win.h"
#include "process/process_list.h"
#include "process/process_platform_win.h"

namespace kelvane {

std::vector<MenuEntry> BuildSystemTrayMenu(const TrayMenuInputs& inputs) {
  std::vector<TNxProcessRec> processes;
  if (inputs.options.ShowTopProcess && inputs.options.TopProcessCount > 0) {
    WindowsProcessPlatform platform;
    TNxProcessList list(platform);
    list.Refresh(inputs.options.ShowPage);
    processes = std::move(list.Items);
  }
  const DescriptionSource describe = [](const std::string& path) {
    return FileVersionReader(path).FileDescription();
  };
  return BuildTrayMenu(inputs, std::move(processes), describe);
}

}  // namespace kelvane
