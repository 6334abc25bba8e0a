#include "driver/uninstall_scripts.h"

#include "services/texts.h"
#include "services/windows_constants.h"

namespace tavi {

namespace {

// The command interpreter expands %...% in a batch file even between quotes;
// %% is its escape for one %. No code page 932 trail byte is 0x25, so the
// byte-wise replacement never splits a character.
std::string Escaped(const std::string& folder) {
  std::string out;
  for (char c : folder) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

std::string WithoutLastByte(std::string folder) {
  if (!folder.empty()) folder.pop_back();
  return folder;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string Line(const std::string& command, const std::string& path) {
  return command + Quoted(path) + "\n";
}

}  // namespace

std::string ComposeUninstallScript(const std::string& install_folder,
                                   const std::string& temp_folder) {
  const std::string install = Escaped(install_folder);
  const std::string temp_script =
      Escaped(temp_folder) + text::kTempCleanupScript;
  return std::string(text::kPauseLine) + "\n" + "copy " +
         Quoted(install + text::kCleanupScript) + " " + Quoted(temp_script) +
         "\n" + "call " + Quoted(temp_script);
}

std::string ComposeCleanupScript(const std::string& install_folder,
                                 const std::string& menu_folder,
                                 const std::string& send_to_folder,
                                 const std::string& temp_folder) {
  const std::string install = Escaped(install_folder);
  const std::string menu = Escaped(menu_folder);
  return Line("del ", install + text::kTool) +
         Line("del ", install + text::kPause) +
         Line("del ", install + text::kInstalledSetup) +
         Line("del ", install + text::kReadme) +
         Line("del ", install + text::kUninstallScript) +
         Line("del ", install + text::kUninstallPif) +
         Line("del ", install + text::kCleanupScript) +
         Line("rd ", Escaped(WithoutLastByte(install_folder))) +
         Line("del ", menu + text::kUninstallLink) +
         Line("del ", menu + text::kHelpLink) +
         Line("rd ", Escaped(WithoutLastByte(menu_folder))) +
         Line("del ", Escaped(send_to_folder) + text::kToolLink) +
         Line("del ", Escaped(temp_folder) + text::kTempCleanupScript);
}

void WriteUninstallScripts(WindowsOps& ops, const std::string& install_folder,
                           const std::string& temp_folder,
                           const std::string& menu_folder,
                           const std::string& send_to_folder) {
  const std::string uninstall_text =
      ComposeUninstallScript(install_folder, temp_folder);
  const std::string uninstall_path = install_folder + text::kUninstallScript;
  StreamId uninstall = ops.OpenOutputStream(uninstall_path.c_str());
  ops.WriteStream(uninstall, uninstall_text.data(), uninstall_text.size());

  const std::string cleanup_text = ComposeCleanupScript(
      install_folder, menu_folder, send_to_folder, temp_folder);
  const std::string cleanup_path = install_folder + text::kCleanupScriptFile;
  StreamId cleanup = ops.OpenOutputStream(cleanup_path.c_str());
  ops.WriteStream(cleanup, cleanup_text.data(), cleanup_text.size());

  ops.MessageBoxA(nullptr, text::kClosingNotice, text::kEndCaption,
                  win::MB_ICONINFORMATION);
  ops.CloseStream(cleanup);
  ops.CloseStream(uninstall);
}

}  // namespace tavi
