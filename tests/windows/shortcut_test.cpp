#include <gtest/gtest.h>

#include "services/shortcut_writer.h"
#include "services/texts.h"
#include "tests/windows/no_dialog_ops.h"
#include "tests/windows/temp_folder.h"

#include <windows.h>
#include <shlobj.h>

namespace tavi {
namespace {

// The target a shortcut file points at, as the shell reads it back.
std::string TargetOf(const std::string& link_path) {
  std::string target;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile,
                                       reinterpret_cast<void**>(&file)))) {
      wchar_t wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, link_path.c_str(), -1, wide, MAX_PATH);
      char path[MAX_PATH] = {};
      if (SUCCEEDED(file->Load(wide, STGM_READ)) &&
          SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0))) {
        target = path;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return target;
}

// The names in `folder` exactly as the ANSI functions give them.
std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "*.lnk").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(entry.cFileName);
  while (FindNextFileA(find, &entry));
  FindClose(find);
  return names;
}

TEST(ShortcutFileTest, IsWrittenUnderItsJapaneseNameAndPointsAtItsTarget) {
  TempFolder folder;
  const std::string link = folder.path() + text::kHelpLink;
  const std::string target = folder.path() + "readme.txt";
  NoDialogOps ops;
  EXPECT_EQ(WriteShortcutFile(ops, link, target), 1);
  EXPECT_TRUE(ops.dialogs.empty());
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{text::kHelpLink});
  EXPECT_STRCASEEQ(TargetOf(link).c_str(), target.c_str());
}

TEST(ShortcutFileTest, IsLeftForAnIndependentReader) {
  // Read by lnkinfo once this program has ended.
  const std::string folder = "C:\\tavi_lnk_check\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  NoDialogOps ops;
  EXPECT_EQ(WriteShortcutFile(ops, folder + text::kToolLink,
                              "C:\\Program Files\\tavi\\tavi.exe"),
            1);
}

TEST(ShortcutFileTest, AFailedSaveTellsTheUserOnce) {
  struct Case {
    const char* name;
    std::string link;
  };
  TempFolder folder;
  const Case cases[] = {
      {"missing folder", folder.path() + "missing\\" + text::kHelpLink},
      {"path too long", folder.path() + std::string(300, 'a') + ".lnk"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NoDialogOps ops;
    EXPECT_EQ(WriteShortcutFile(ops, c.link, folder.path() + "x.exe"), 0);
    ASSERT_EQ(ops.dialogs.size(), 1u);
    EXPECT_EQ(ops.dialogs[0].text, text::kShortcutFailed);
    EXPECT_EQ(ops.dialogs[0].caption, "(null)");
    EXPECT_EQ(ops.dialogs[0].style, 0u);
  }
  EXPECT_TRUE(NamesIn(folder.path()).empty());
}

}  // namespace
}  // namespace tavi
