#ifndef TAVI_DRIVER_UNINSTALL_START_H_
#define TAVI_DRIVER_UNINSTALL_START_H_

#include "driver/folder_set.h"
#include "services/windows_ops.h"

namespace tavi {

/// Starts install folder + "uninstall.bat" hidden and returns at once,
/// without waiting for it or testing whether it started.
void StartUninstallScript(WindowsOps& ops, const FolderSet& folders);

}  // namespace tavi

#endif  // TAVI_DRIVER_UNINSTALL_START_H_
