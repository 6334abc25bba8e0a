#ifndef TAVI_DRIVER_FOLDER_SET_H_
#define TAVI_DRIVER_FOLDER_SET_H_

#include <string>

#include "services/windows_ops.h"

namespace tavi {

/// The folders of one run, computed once before anything is shown. Each ends
/// in "\" except a temp folder whose look-up failed, which is empty.
struct FolderSet {
  std::string temp;
  std::string media;    // the folder that holds the running executable
  std::string install;  // Program Files + "\tavi\"
  std::string menu;     // Start-menu Programs + "\tavi\"
  std::string send_to;  // SendTo + "\"
};

FolderSet ComputeFolderSet(WindowsOps& ops, ModuleHandle instance);

/// The drive and directory of `module`'s file, ending in "\"; empty when the
/// system gives no path.
std::string GetModuleDir(WindowsOps& ops, ModuleHandle module);

/// The shell special folder `csidl` without a trailing separator; empty when
/// the look-up fails.
std::string GetSpecialFolder(WindowsOps& ops, int csidl);

/// Everything of `path` up to and including its last separator, found
/// character by character so a double-byte character whose second byte is
/// 0x5C is never taken for one. Keeps a UNC \\server\share\ prefix; a bare
/// "X:name" gives "X:".
std::string DirectoryOf(WindowsOps& ops, const std::string& path);

}  // namespace tavi

#endif  // TAVI_DRIVER_FOLDER_SET_H_
