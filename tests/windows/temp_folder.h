#ifndef TAVI_TESTS_WINDOWS_TEMP_FOLDER_H_
#define TAVI_TESTS_WINDOWS_TEMP_FOLDER_H_

#include <string>

namespace tavi {

/// A fresh folder under the system's temp folder, removed with everything in
/// it at the end of the test. path() ends in "\".
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

/// The whole content of a file, or "<missing>".
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);

}  // namespace tavi

#endif  // TAVI_TESTS_WINDOWS_TEMP_FOLDER_H_
