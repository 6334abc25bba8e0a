#include "services/deployer.h"

#include <utility>

#include "services/shortcut_writer.h"

namespace tavi {

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) {
    folder += '\\';
  }
  return folder;
}

void Deployer::SetDestDir(std::string folder) {
  dest_dir_ = WithTrailingSeparator(std::move(folder));
}

void Deployer::SetSourceDir(std::string folder) {
  source_dir_ = WithTrailingSeparator(std::move(folder));
}

void Deployer::CopyAs(const std::string& dest_name,
                      const std::string& source_name) {
  std::string new_path = dest_dir_ + dest_name;
  std::string existing_path = source_dir_ + source_name;
  ops_.CopyFileA(existing_path.c_str(), new_path.c_str(), false);
}

int Deployer::MakeShortcut(const std::string& link_name,
                           const std::string& target_name) {
  return WriteShortcutFile(ops_, dest_dir_ + link_name,
                           source_dir_ + target_name);
}

void Deployer::CreateFolder(const std::string& folder) {
  // The record's own size: 12 bytes in the 32-bit release.
  SecurityAttributes attributes{sizeof(SecurityAttributes), nullptr, 0};
  ops_.CreateDirectoryA(folder.c_str(), &attributes);
}

}  // namespace tavi
