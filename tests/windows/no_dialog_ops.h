#ifndef TAVI_TESTS_WINDOWS_NO_DIALOG_OPS_H_
#define TAVI_TESTS_WINDOWS_NO_DIALOG_OPS_H_

#include <functional>
#include <string>
#include <vector>

#include "services/windows_ops_win32.h"

namespace tavi {

/// The real layer with message boxes answered at once, so a unit test never
/// waits for a user. Each box is recorded, and `on_dialog` runs while it
/// would be on screen.
class NoDialogOps : public Win32WindowsOps {
 public:
  struct Dialog {
    std::string text;
    std::string caption;
    std::uint32_t style;
  };
  std::vector<Dialog> dialogs;
  std::function<void()> on_dialog;

  int MessageBoxA(WindowHandle, const char* text, const char* caption,
                  std::uint32_t style) override {
    dialogs.push_back({text, caption == nullptr ? "(null)" : caption, style});
    if (on_dialog) on_dialog();
    return 1;  // IDOK
  }
};

}  // namespace tavi

#endif  // TAVI_TESTS_WINDOWS_NO_DIALOG_OPS_H_
