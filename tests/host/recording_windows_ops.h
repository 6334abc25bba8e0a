#ifndef TAVI_TESTS_HOST_RECORDING_WINDOWS_OPS_H_
#define TAVI_TESTS_HOST_RECORDING_WINDOWS_OPS_H_

#include <deque>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "services/windows_ops.h"

namespace tavi {

/// One call through the layer: its operation name and its arguments as text.
/// Narrow strings are kept byte for byte; wide ones are narrowed with the
/// double's own code page 932 stand-in (see below).
struct Call {
  std::string op;
  std::vector<std::string> args;

  bool operator==(const Call& other) const {
    return op == other.op && args == other.args;
  }
};

/// Prints bytes outside printable ASCII as \xNN, so a failed comparison of
/// Japanese texts stays readable.
std::string Printable(const std::string& bytes);
std::ostream& operator<<(std::ostream& out, const Call& call);

/// The host's stand-in for Windows: records every call with its arguments in
/// order (except IsDBCSLeadByte, a pure query asked once per byte), plays
/// scripted answers and makes chosen calls fail.
///
/// Text conversions follow a small model of code page 932: a byte in
/// 0x81-0x9F or 0xE0-0xFC leads a two-byte character that becomes the wide
/// character (lead << 8 | trail). mbstowcs and wcstombs use that model only
/// after setlocale(..., "japanese"); before it they map each byte to the wide
/// character of the same value, as the runtime's "C" locale does.
class RecordingWindowsOps final : public WindowsOps {
 public:
  // Scripted answers. An empty answer means the call writes nothing.
  std::string temp_path = "C:\\TEMP\\";
  std::string module_path = "D:\\dist\\tavi.exe";
  /// GetVersion's answer: Windows 10 (10.0) unless a test says otherwise.
  std::uint32_t version = 0x0000000A;
  std::map<int, std::string> special_folders = {
      {38, "C:\\Program Files"},
      {2, "C:\\Users\\u\\Start Menu\\Programs"},
      {9, "C:\\Users\\u\\SendTo"}};
  std::map<std::string, std::string> environment = {
      {"PATH", "C:\\windows\\system32;C:\\windows"}};
  /// Answers of MessageBoxA in turn; once used up, IDYES for a Yes/No box
  /// and IDOK for any other.
  std::deque<int> message_box_answers;
  /// The disk: path to content. Output streams create or empty a file when
  /// opened and store what was written when closed; input streams open only
  /// files listed here.
  std::map<std::string, std::string> files;

  /// Makes the `nth` call (1-based; 0 = every call) of `op` fail with the
  /// operation's failure value, or with `result` where one is given (an
  /// HRESULT for COM calls, a count for conversions).
  void Fail(const std::string& op, int nth = 0);
  void FailWith(const std::string& op, long long result, int nth = 0);

  std::vector<Call> calls;
  /// The recorded calls whose operation is one of `ops`, in order.
  std::vector<Call> CallsOf(const std::vector<std::string>& ops) const;
  /// Streams opened and not closed; COM initialisations not yet undone.
  int open_streams() const;
  int com_depth() const { return com_depth_; }
  const std::string& current_directory() const { return current_directory_; }

  std::uint32_t GetTempPathA(std::uint32_t size, char* buffer) override;
  std::uint32_t GetModuleFileNameA(ModuleHandle module, char* buffer,
                                   std::uint32_t size) override;
  bool CreateDirectoryA(const char* path,
                        const SecurityAttributes* attributes) override;
  bool CopyFileA(const char* existing_path, const char* new_path,
                 bool fail_if_exists) override;
  int MultiByteToWideChar(std::uint32_t code_page, std::uint32_t flags,
                          const char* text, int length, wchar_t* wide,
                          int capacity) override;
  std::uint32_t WinExec(const char* command_line, std::uint32_t show) override;
  bool SetCurrentDirectoryA(const char* path) override;
  std::uint32_t GetEnvironmentVariableA(const char* name, char* buffer,
                                        std::uint32_t size) override;
  bool SetEnvironmentVariableA(const char* name, const char* value) override;
  bool IsDBCSLeadByte(std::uint8_t byte) override;
  std::uint32_t GetVersion() override;
  bool SetDefaultDllDirectories(std::uint32_t flags) override;
  bool SetDllDirectoryA(const char* path) override;
  int MessageBoxA(WindowHandle owner, const char* text, const char* caption,
                  std::uint32_t style) override;
  HResult SHGetSpecialFolderLocation(WindowHandle owner, int csidl,
                                     ItemIdList* list) override;
  bool SHGetPathFromIDListA(ItemIdList list, char* path) override;
  void ILFree(ItemIdList list) override;
  HResult CoInitialize(void* reserved) override;
  void CoUninitialize() override;
  HResult CoCreateInstance(const Guid& clsid, void* outer,
                           std::uint32_t context, const Guid& iid,
                           void** object) override;
  HResult QueryInterface(void* object, const Guid& iid, void** result) override;
  std::uint32_t Release(void* object) override;
  HResult IShellLinkA_SetPath(void* link, const char* path) override;
  HResult IPersistFile_Save(void* file, const wchar_t* path,
                            bool remember) override;
  const char* setlocale(int category, const char* locale) override;
  std::size_t mbstowcs(wchar_t* wide, const char* text,
                       std::size_t capacity) override;
  std::size_t wcstombs(char* text, const wchar_t* wide,
                       std::size_t capacity) override;
  StreamId OpenInputStream(const char* path) override;
  StreamId OpenOutputStream(const char* path) override;
  void WriteStream(StreamId stream, const char* data,
                   std::size_t size) override;
  bool StreamFailed(StreamId stream) override;
  void CloseStream(StreamId stream) override;

  /// The double's code page 932 model, for tests that build expected values.
  static std::wstring WidenModel(const std::string& text);
  static std::string NarrowModel(const std::wstring& text);

 private:
  struct Stream {
    std::string path;
    bool output = false;
    bool failed = false;
    bool open = true;
    std::string pending;
  };
  struct FailureRule {
    int nth;
    long long result;
    bool has_result;
  };

  void Record(const std::string& op, std::vector<std::string> args);
  /// Counts this call of `op` and tells whether it is to fail; `result` then
  /// receives the scripted failure value, if one was given.
  bool ShouldFail(const std::string& op, long long* result = nullptr);
  std::string NameOf(const void* object) const;
  void* NewObject(const std::string& name);

  std::map<std::string, std::vector<FailureRule>> failures_;
  std::map<std::string, int> call_counts_;
  std::vector<Stream> streams_;
  std::map<const void*, std::string> objects_;
  int com_depth_ = 0;
  bool japanese_ = false;
  std::string locale_ = "C";
  std::string current_directory_ = "D:\\dist\\";
};

}  // namespace tavi

#endif  // TAVI_TESTS_HOST_RECORDING_WINDOWS_OPS_H_
