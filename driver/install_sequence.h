#ifndef TAVI_DRIVER_INSTALL_SEQUENCE_H_
#define TAVI_DRIVER_INSTALL_SEQUENCE_H_

#include <string>

#include "services/windows_ops.h"

namespace tavi {

/// Creates the install folder, copies the four distribution files into it,
/// creates the menu folder and writes the three shortcuts. Every step runs
/// every time, whatever failed before it.
void RunInstallSequence(WindowsOps& ops, const std::string& media_folder,
                        const std::string& install_folder,
                        const std::string& menu_folder,
                        const std::string& send_to_folder);

}  // namespace tavi

#endif  // TAVI_DRIVER_INSTALL_SEQUENCE_H_
