#include "driver/installed_copy_probe.h"

#include "services/path_file.h"
#include "services/texts.h"

namespace tavi {

bool IsInstalledCopy(WindowsOps& ops, const std::string& media_folder) {
  PathFile probe(ops, media_folder + text::kUninstallScript);
  if (probe.path().empty()) return false;
  return probe.ExistsForReading();
}

}  // namespace tavi
