#ifndef TAVI_SERVICES_TEXTS_H_
#define TAVI_SERVICES_TEXTS_H_

// Every fixed text and name of the setup program, in one place. The Japanese
// texts are code page 932 (Shift-JIS) bytes written out as escapes, so they
// are the same whatever the compiler's source or execution character set;
// the comment beside each shows what it reads.

namespace tavi {
namespace text {

// Dialogs.
// 「タヴィ」をインストールしますか？
inline constexpr char kInstallQuestion[] =
    "\x81\x75\x83\x5e\x83\x94\x83\x42\x81\x76\x82\xf0\x83\x43\x83\x93\x83\x58"
    "\x83\x67\x81\x5b\x83\x8b\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48";
// 簡易インストーラー
inline constexpr char kInstallCaption[] =
    "\x8a\xc8\x88\xd5\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x89\x81\x5b";
// 「タヴィ」をアンインストールしますか？
inline constexpr char kUninstallQuestion[] =
    "\x81\x75\x83\x5e\x83\x94\x83\x42\x81\x76\x82\xf0\x83\x41\x83\x93\x83\x43"
    "\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\x82\xb5\x82\xdc\x82\xb7\x82\xa9"
    "\x81\x48";
// 簡易アンインストーラー
inline constexpr char kUninstallCaption[] =
    "\x8a\xc8\x88\xd5\x83\x41\x83\x93\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b"
    "\x83\x89\x81\x5b";
// ５秒後にファイルを削除します。 (the 5 is the full-width digit)
inline constexpr char kDeletionNotice[] =
    "\x82\x54\x95\x62\x8c\xe3\x82\xc9\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0"
    "\x8d\xed\x8f\x9c\x82\xb5\x82\xdc\x82\xb7\x81\x42";
// 終了しました
inline constexpr char kClosingNotice[] =
    "\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
// 終了: caption of the deletion notice and of the closing notice
inline constexpr char kEndCaption[] = "\x8f\x49\x97\xb9";
// ショートカット作成失敗
inline constexpr char kShortcutFailed[] =
    "\x83\x56\x83\x87\x81\x5b\x83\x67\x83\x4a\x83\x62\x83\x67\x8d\xec\x90\xac"
    "\x8e\xb8\x94\x73";

// Folder suffixes appended to the shell's special folders.
inline constexpr char kTaviFolderSuffix[] = "\\tavi\\";
inline constexpr char kSendToSuffix[] = "\\";

// The distribution, as found in the media folder.
inline constexpr char kDistTool[] = "data1.dat";
inline constexpr char kDistReadme[] = "readme.txt";
inline constexpr char kDistSetup[] = "tavi.exe";
inline constexpr char kDistPause[] = "data2.dat";

// What the install folder holds.
inline constexpr char kTool[] = "tavi.exe";
inline constexpr char kReadme[] = "readme.txt";
inline constexpr char kInstalledSetup[] = "install.exe";
inline constexpr char kPause[] = "sleep.exe";
inline constexpr char kUninstallScript[] = "uninstall.bat";
inline constexpr char kCleanupScriptFile[] = "Uninstall2.bat";
// The cleanup script as both scripts name it; the file system ignores case.
inline constexpr char kCleanupScript[] = "uninstall2.bat";
// Never created by the install; the cleanup script deletes it all the same.
inline constexpr char kUninstallPif[] = "uninstall.pif";
inline constexpr char kTempCleanupScript[] = "uninstall_tavi_123456789.bat";

// Shortcut files.
// アンインストール.lnk
inline constexpr char kUninstallLink[] =
    "\x83\x41\x83\x93\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b"
    ".lnk";
// ヘルプ.lnk
inline constexpr char kHelpLink[] =
    "\x83\x77\x83\x8b\x83\x76"
    ".lnk";
// タヴィ.lnk
inline constexpr char kToolLink[] =
    "\x83\x5e\x83\x94\x83\x42"
    ".lnk";

// The uninstall script's pause: the pause program and its milliseconds.
inline constexpr char kPauseLine[] = "Sleep 5000";

// The runtime locale whose multibyte code page is 932.
inline constexpr char kJapaneseLocale[] = "japanese";

}  // namespace text
}  // namespace tavi

#endif  // TAVI_SERVICES_TEXTS_H_
