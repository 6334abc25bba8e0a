#ifndef TAVI_DRIVER_SETUP_H_
#define TAVI_DRIVER_SETUP_H_

#include "services/windows_ops.h"

namespace tavi {

/// One whole run of the setup program: the folder set, the installed-copy
/// probe, one confirmation, then the install or the start of the uninstall.
/// Returns the exit code, which is 0 on every path.
int RunSetup(WindowsOps& ops, ModuleHandle instance);

}  // namespace tavi

#endif  // TAVI_DRIVER_SETUP_H_
