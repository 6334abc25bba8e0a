#include "driver/setup.h"

#include "driver/folder_set.h"
#include "driver/install_sequence.h"
#include "driver/installed_copy_probe.h"
#include "driver/uninstall_scripts.h"
#include "driver/uninstall_start.h"
#include "services/texts.h"
#include "services/windows_constants.h"

namespace tavi {

namespace {

// A setup program is typically started from a downloads folder, where a
// planted DLL of a system name would be loaded in place of the real one by
// the libraries the shell and COM load later. Load from the system folder
// only, where this Windows offers it, and never from the current folder.
void RestrictDllSearch(WindowsOps& ops) {
  std::uint32_t version = ops.GetVersion();
  bool vista = (version & 0xFF) == 6 && ((version >> 8) & 0xFF) == 0;
  // On Vista the shell's link object fails to load once the search is
  // restricted, and shortcuts are the install's only reported failure.
  if (!vista) ops.SetDefaultDllDirectories(win::LOAD_LIBRARY_SEARCH_SYSTEM32);
  ops.SetDllDirectoryA("");
}

// Only an explicit No declines; a box that could not be shown (0) agrees.
bool Confirmed(int answer) { return answer != win::IDNO; }

void RunInstallMode(WindowsOps& ops, const FolderSet& folders) {
  if (!Confirmed(ops.MessageBoxA(nullptr, text::kInstallQuestion,
                                 text::kInstallCaption,
                                 win::MB_YESNO | win::MB_ICONQUESTION))) {
    return;
  }
  RunInstallSequence(ops, folders.media, folders.install, folders.menu,
                     folders.send_to);
  WriteUninstallScripts(ops, folders.install, folders.temp, folders.menu,
                        folders.send_to);
}

void RunUninstallMode(WindowsOps& ops, const FolderSet& folders) {
  if (!Confirmed(ops.MessageBoxA(
          nullptr, text::kUninstallQuestion, text::kUninstallCaption,
          win::MB_YESNO | win::MB_ICONINFORMATION | win::MB_DEFBUTTON2))) {
    return;
  }
  // The script's first line is its pause, and it starts only once the user
  // has closed this notice.
  ops.MessageBoxA(nullptr, text::kDeletionNotice, text::kEndCaption,
                  win::MB_ICONINFORMATION);
  StartUninstallScript(ops, folders);
}

}  // namespace

int RunSetup(WindowsOps& ops, ModuleHandle instance) {
  RestrictDllSearch(ops);
  FolderSet folders = ComputeFolderSet(ops, instance);
  if (IsInstalledCopy(ops, folders.media)) {
    RunUninstallMode(ops, folders);
  } else {
    RunInstallMode(ops, folders);
  }
  return 0;
}

}  // namespace tavi
