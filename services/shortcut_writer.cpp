#include "services/shortcut_writer.h"

#include "services/texts.h"
#include "services/windows_constants.h"

namespace tavi {

namespace {

// Releases what one save obtained, file interface first, and leaves the
// apartment only when entering it succeeded, so COM stays balanced.
class LinkObject {
 public:
  explicit LinkObject(WindowsOps& ops)
      : ops_(ops), com_entered_(ops.CoInitialize(nullptr) >= 0) {}
  LinkObject(const LinkObject&) = delete;
  LinkObject& operator=(const LinkObject&) = delete;
  ~LinkObject() {
    if (file_ != nullptr) ops_.Release(file_);
    if (link_ != nullptr) ops_.Release(link_);
    if (com_entered_) ops_.CoUninitialize();
  }

  // Any result but zero, a success code included, counts as failure.
  bool Save(const std::string& target_path, const wchar_t* wide_link_path) {
    if (ops_.CoCreateInstance(win::CLSID_ShellLink, nullptr,
                              win::CLSCTX_INPROC_SERVER, win::IID_IShellLinkA,
                              &link_) != win::S_OK) {
      link_ = nullptr;
      return false;
    }
    ops_.IShellLinkA_SetPath(link_, target_path.c_str());
    if (ops_.QueryInterface(link_, win::IID_IPersistFile, &file_) !=
        win::S_OK) {
      file_ = nullptr;
      return false;
    }
    return ops_.IPersistFile_Save(file_, wide_link_path, true) == win::S_OK;
  }

 private:
  WindowsOps& ops_;
  bool com_entered_;
  void* link_ = nullptr;
  void* file_ = nullptr;
};

}  // namespace

int WriteShortcutFile(WindowsOps& ops, const std::string& link_path,
                      const std::string& target_path) {
  wchar_t wide_link_path[win::MAX_PATH];
  // A path too long for the buffer fails here: the buffer may then hold no
  // terminator, so it must never reach Save.
  bool converted = ops.MultiByteToWideChar(
                       win::CP_ACP, win::MB_PRECOMPOSED, link_path.c_str(), -1,
                       wide_link_path, static_cast<int>(win::MAX_PATH)) != 0;
  bool saved = false;
  if (converted) {
    LinkObject link(ops);
    saved = link.Save(target_path, wide_link_path);
  }
  if (saved) return 1;
  ops.MessageBoxA(nullptr, text::kShortcutFailed, nullptr, win::MB_OK);
  return 0;
}

}  // namespace tavi
