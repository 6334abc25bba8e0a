#ifndef TAVI_SERVICES_DEPLOYER_H_
#define TAVI_SERVICES_DEPLOYER_H_

#include <string>

#include "services/windows_ops.h"

namespace tavi {

/// Puts files in place between a destination folder and a source folder,
/// each copy or shortcut named by two bare file names: the first is joined to
/// the destination folder, the second to the source folder.
class Deployer {
 public:
  explicit Deployer(WindowsOps& ops) : ops_(ops) {}
  Deployer(const Deployer&) = delete;
  Deployer& operator=(const Deployer&) = delete;

  void SetDestDir(std::string folder);
  void SetSourceDir(std::string folder);

  /// Copies source folder + `source_name` over destination folder +
  /// `dest_name`. Failures are not reported.
  void CopyAs(const std::string& dest_name, const std::string& source_name);
  /// Writes destination folder + `link_name` pointing at source folder +
  /// `target_name`. Returns 1 when written, 0 when not (the shortcut writer
  /// has then told the user).
  int MakeShortcut(const std::string& link_name,
                   const std::string& target_name);
  /// Creates the last level of `folder`. Failures are not reported.
  void CreateFolder(const std::string& folder);

  const std::string& dest_dir() const { return dest_dir_; }
  const std::string& source_dir() const { return source_dir_; }

 private:
  WindowsOps& ops_;
  std::string dest_dir_;
  std::string source_dir_;
};

/// `folder` made to end in a separator. The test is on the last byte, so a
/// folder ending in a double-byte character whose second byte is 0x5C counts
/// as ending in one; an empty folder becomes "\".
std::string WithTrailingSeparator(std::string folder);

}  // namespace tavi

#endif  // TAVI_SERVICES_DEPLOYER_H_
