#ifndef TAVI_SERVICES_PATH_FILE_H_
#define TAVI_SERVICES_PATH_FILE_H_

#include <string>

#include "services/locale_text.h"
#include "services/windows_ops.h"

namespace tavi {

/// A file named by a path kept in wide form under the "japanese" locale.
/// Constructing one switches the whole process to that locale.
class PathFile {
 public:
  PathFile(WindowsOps& ops, std::string narrow_path);
  PathFile(const PathFile&) = delete;
  PathFile& operator=(const PathFile&) = delete;

  const std::wstring& path() const { return path_; }

  /// True when the file can be opened for reading. Leaves no file open.
  bool ExistsForReading() const;

 private:
  WindowsOps& ops_;
  std::wstring path_;
  LocaleText locale_;
};

}  // namespace tavi

#endif  // TAVI_SERVICES_PATH_FILE_H_
