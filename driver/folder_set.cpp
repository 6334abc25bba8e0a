#include "driver/folder_set.h"

#include "driver/path_buffer.h"
#include "services/texts.h"
#include "services/windows_constants.h"

namespace tavi {

FolderSet ComputeFolderSet(WindowsOps& ops, ModuleHandle instance) {
  FolderSet folders;
  PathBuffer temp;
  ops.GetTempPathA(PathBuffer::kOffered, temp.data());
  folders.temp = temp.Text();
  folders.media = GetModuleDir(ops, instance);
  folders.install =
      GetSpecialFolder(ops, win::CSIDL_PROGRAM_FILES) + text::kTaviFolderSuffix;
  folders.menu =
      GetSpecialFolder(ops, win::CSIDL_PROGRAMS) + text::kTaviFolderSuffix;
  folders.send_to =
      GetSpecialFolder(ops, win::CSIDL_SENDTO) + text::kSendToSuffix;
  return folders;
}

std::string GetModuleDir(WindowsOps& ops, ModuleHandle module) {
  PathBuffer path;
  ops.GetModuleFileNameA(module, path.data(), PathBuffer::kOffered);
  return DirectoryOf(ops, path.Text());
}

std::string GetSpecialFolder(WindowsOps& ops, int csidl) {
  ItemIdList list = nullptr;
  if (ops.SHGetSpecialFolderLocation(nullptr, csidl, &list) < 0 ||
      list == nullptr) {
    return std::string();
  }
  PathBuffer path;
  ops.SHGetPathFromIDListA(list, path.data());
  ops.ILFree(list);
  return path.Text();
}

std::string DirectoryOf(WindowsOps& ops, const std::string& path) {
  std::string::size_type end = 0;  // just past the last separator
  if (path.size() >= 2 && path[1] == ':') end = 2;
  for (std::string::size_type i = 0; i < path.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(path[i]);
    if (byte == '\\' || byte == '/') {
      end = i + 1;
    } else if (ops.IsDBCSLeadByte(byte) && i + 1 < path.size()) {
      ++i;  // the trail byte is never a separator
    }
  }
  return path.substr(0, end);
}

}  // namespace tavi
