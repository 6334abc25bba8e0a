#ifndef TAVI_SERVICES_SHORTCUT_WRITER_H_
#define TAVI_SERVICES_SHORTCUT_WRITER_H_

#include <string>

#include "services/windows_ops.h"

namespace tavi {

/// Writes the shell shortcut `link_path` pointing at `target_path` through the
/// shell's link object. Returns 1 when the file was saved; otherwise shows
/// "ショートカット作成失敗" and returns 0 once the user has closed it.
int WriteShortcutFile(WindowsOps& ops, const std::string& link_path,
                      const std::string& target_path);

}  // namespace tavi

#endif  // TAVI_SERVICES_SHORTCUT_WRITER_H_
