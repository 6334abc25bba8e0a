#include "services/texts.h"

#include <gtest/gtest.h>

#include "tests/host/test_bytes.h"

namespace tavi {
namespace {

struct JapaneseText {
  const char* name;
  const char* kept;  // the program's constant
  const char* utf8;  // what it must read
  const char* hex;   // its code page 932 bytes, written out by hand
};

const JapaneseText kTexts[] = {
    {"install question", text::kInstallQuestion,
     "「タヴィ」をインストールしますか？",
     "81 75 83 5E 83 94 83 42 81 76 82 F0 83 43 83 93 83 58 83 67 81 5B 83 8B "
     "82 B5 82 DC 82 B7 82 A9 81 48"},
    {"install caption", text::kInstallCaption, "簡易インストーラー",
     "8A C8 88 D5 83 43 83 93 83 58 83 67 81 5B 83 89 81 5B"},
    {"uninstall question", text::kUninstallQuestion,
     "「タヴィ」をアンインストールしますか？",
     "81 75 83 5E 83 94 83 42 81 76 82 F0 83 41 83 93 83 43 83 93 83 58 83 67 "
     "81 5B 83 8B 82 B5 82 DC 82 B7 82 A9 81 48"},
    {"uninstall caption", text::kUninstallCaption, "簡易アンインストーラー",
     "8A C8 88 D5 83 41 83 93 83 43 83 93 83 58 83 67 81 5B 83 89 81 5B"},
    {"deletion notice", text::kDeletionNotice, "５秒後にファイルを削除します。",
     "82 54 95 62 8C E3 82 C9 83 74 83 40 83 43 83 8B 82 F0 8D ED 8F 9C 82 B5 "
     "82 DC 82 B7 81 42"},
    {"closing notice", text::kClosingNotice, "終了しました",
     "8F 49 97 B9 82 B5 82 DC 82 B5 82 BD"},
    {"end caption", text::kEndCaption, "終了", "8F 49 97 B9"},
    {"shortcut failure", text::kShortcutFailed, "ショートカット作成失敗",
     "83 56 83 87 81 5B 83 67 83 4A 83 62 83 67 8D EC 90 AC 8E B8 94 73"},
    {"uninstall link", text::kUninstallLink, "アンインストール.lnk",
     "83 41 83 93 83 43 83 93 83 58 83 67 81 5B 83 8B 2E 6C 6E 6B"},
    {"help link", text::kHelpLink, "ヘルプ.lnk",
     "83 77 83 8B 83 76 2E 6C 6E 6B"},
    {"tool link", text::kToolLink, "タヴィ.lnk",
     "83 5E 83 94 83 42 2E 6C 6E 6B"},
};

TEST(JapaneseTextsTest, AreTheirCodePage932Bytes) {
  for (const JapaneseText& t : kTexts) {
    SCOPED_TRACE(t.name);
    EXPECT_EQ(std::string(t.kept), FromHex(t.hex));
    EXPECT_EQ(std::string(t.kept), ToCp932(t.utf8));
  }
}

}  // namespace
}  // namespace tavi
