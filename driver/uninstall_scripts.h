#ifndef TAVI_DRIVER_UNINSTALL_SCRIPTS_H_
#define TAVI_DRIVER_UNINSTALL_SCRIPTS_H_

#include <string>

#include "services/windows_ops.h"

namespace tavi {

// Script texts use LF line breaks; the text-mode stream writes CR LF.

/// The uninstall script: pause, copy the cleanup script into the temp folder,
/// call that copy. Ends with the closing quote, no line break.
std::string ComposeUninstallScript(const std::string& install_folder,
                                   const std::string& temp_folder);

/// The cleanup script: delete what the install created, then itself.
std::string ComposeCleanupScript(const std::string& install_folder,
                                 const std::string& menu_folder,
                                 const std::string& send_to_folder,
                                 const std::string& temp_folder);

/// Writes "uninstall.bat" and "Uninstall2.bat" into the install folder, shows
/// the closing notice while both are still open, then closes them. Nothing is
/// tested or reported.
void WriteUninstallScripts(WindowsOps& ops, const std::string& install_folder,
                           const std::string& temp_folder,
                           const std::string& menu_folder,
                           const std::string& send_to_folder);

}  // namespace tavi

#endif  // TAVI_DRIVER_UNINSTALL_SCRIPTS_H_
