#ifndef TAVI_DRIVER_INSTALLED_COPY_PROBE_H_
#define TAVI_DRIVER_INSTALLED_COPY_PROBE_H_

#include <string>

#include "services/windows_ops.h"

namespace tavi {

/// True when "uninstall.bat" beside the executable can be opened for reading,
/// that is when this copy runs as an installed copy. Switches the process to
/// the "japanese" runtime locale for the rest of the run, and leaves no file
/// open.
bool IsInstalledCopy(WindowsOps& ops, const std::string& media_folder);

}  // namespace tavi

#endif  // TAVI_DRIVER_INSTALLED_COPY_PROBE_H_
