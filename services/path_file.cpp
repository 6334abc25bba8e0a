#include "services/path_file.h"

#include "services/texts.h"

namespace tavi {

PathFile::PathFile(WindowsOps& ops, std::string narrow_path)
    : ops_(ops), locale_(ops, text::kJapaneseLocale) {
  path_ = locale_.Widen(narrow_path);
}

bool PathFile::ExistsForReading() const {
  std::string narrow = locale_.Narrow(path_);
  // A path that did not survive conversion names no file of ours.
  if (narrow.empty()) return false;
  StreamId stream = ops_.OpenInputStream(narrow.c_str());
  bool opened = !ops_.StreamFailed(stream);
  ops_.CloseStream(stream);
  return opened;
}

}  // namespace tavi
