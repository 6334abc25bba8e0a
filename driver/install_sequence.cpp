#include "driver/install_sequence.h"

#include "services/deployer.h"
#include "services/texts.h"

namespace tavi {

void RunInstallSequence(WindowsOps& ops, const std::string& media_folder,
                        const std::string& install_folder,
                        const std::string& menu_folder,
                        const std::string& send_to_folder) {
  Deployer deployer(ops);

  deployer.CreateFolder(install_folder);
  deployer.SetDestDir(install_folder);
  deployer.SetSourceDir(media_folder);
  deployer.CopyAs(text::kTool, text::kDistTool);
  deployer.CopyAs(text::kReadme, text::kDistReadme);
  deployer.CopyAs(text::kInstalledSetup, text::kDistSetup);
  deployer.CopyAs(text::kPause, text::kDistPause);

  deployer.CreateFolder(menu_folder);
  deployer.SetDestDir(menu_folder);
  deployer.SetSourceDir(install_folder);
  deployer.MakeShortcut(text::kUninstallLink, text::kInstalledSetup);
  deployer.MakeShortcut(text::kHelpLink, text::kReadme);

  // The SendTo folder is the shell's own and taken to exist.
  deployer.SetDestDir(send_to_folder);
  deployer.MakeShortcut(text::kToolLink, text::kTool);
}

}  // namespace tavi
