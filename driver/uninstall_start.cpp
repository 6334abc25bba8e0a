#include "driver/uninstall_start.h"

#include <string>
#include <vector>

#include "services/texts.h"
#include "services/windows_constants.h"

namespace tavi {

namespace {

std::string GetEnvironmentVariable(WindowsOps& ops, const char* name) {
  std::uint32_t needed = ops.GetEnvironmentVariableA(name, nullptr, 0);
  if (needed == 0) return std::string();
  std::vector<char> value(needed, '\0');
  std::uint32_t length = ops.GetEnvironmentVariableA(
      name, value.data(), static_cast<std::uint32_t>(value.size()));
  if (length == 0 || length >= value.size()) return std::string();
  return std::string(value.data(), length);
}

// The script names its pause program by the bare word "Sleep", found through
// the current folder or PATH: put the install folder first on the PATH the
// script inherits.
void PutInstallFolderFirstOnPath(WindowsOps& ops, const std::string& install) {
  std::string entry = install;
  if (!entry.empty()) entry.pop_back();  // the "\" the install folder ends in
  std::string path = GetEnvironmentVariable(ops, "PATH");
  std::string value = path.empty() ? entry : entry + ";" + path;
  ops.SetEnvironmentVariableA("PATH", value.c_str());
}

}  // namespace

void StartUninstallScript(WindowsOps& ops, const FolderSet& folders) {
  // Windows will not remove a folder that a running process holds as its
  // current folder, and the script inherits ours: leave the install folder.
  if (!folders.temp.empty()) ops.SetCurrentDirectoryA(folders.temp.c_str());
  PutInstallFolderFirstOnPath(ops, folders.install);
  // Quoted, so that "C:\Program Files\..." is never first tried as
  // "C:\Program" with the rest as its arguments.
  std::string command = "\"" + folders.install + text::kUninstallScript + "\"";
  ops.WinExec(command.c_str(), win::SW_HIDE);
}

}  // namespace tavi
