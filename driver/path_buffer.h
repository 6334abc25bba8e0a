#ifndef TAVI_DRIVER_PATH_BUFFER_H_
#define TAVI_DRIVER_PATH_BUFFER_H_

#include <string>
#include <vector>

#include "services/windows_constants.h"

namespace tavi {

/// A buffer for a system call to write a path into: MAX_PATH is offered, and
/// two spare zeros past it guarantee the text ends inside the buffer even when
/// the call writes nothing or fills all it was offered.
class PathBuffer {
 public:
  static constexpr std::uint32_t kOffered = win::MAX_PATH;

  char* data() { return chars_.data(); }
  /// The text up to the first zero.
  std::string Text() const { return std::string(chars_.data()); }

 private:
  std::vector<char> chars_ = std::vector<char>(win::MAX_PATH + 2, '\0');
};

}  // namespace tavi

#endif  // TAVI_DRIVER_PATH_BUFFER_H_
