#ifndef TAVI_SERVICES_WINDOWS_OPS_H_
#define TAVI_SERVICES_WINDOWS_OPS_H_

#include <cstddef>
#include <cstdint>

// The one seam between the setup program and the platform: every call the
// program makes into Windows or the C runtime goes through this interface, so
// the logic above it can be tested on Linux against a recording double.
// Operations carry their Windows (or runtime) names and arguments; numeric
// constants live in windows_constants.h. This header must never include
// <windows.h>.

namespace tavi {

using ModuleHandle = void*;  // HINSTANCE
using WindowHandle = void*;  // HWND
using ItemIdList = void*;    // PIDLIST_ABSOLUTE
using HResult = std::int32_t;

/// Same layout as the Windows GUID.
struct Guid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};

/// Same layout as SECURITY_ATTRIBUTES on the target.
struct SecurityAttributes {
  std::uint32_t length;
  void* security_descriptor;
  std::int32_t inherit_handle;
};

/// A runtime file stream opened through the layer. kNoStream is never a
/// stream that was opened.
using StreamId = int;
constexpr StreamId kNoStream = -1;

class WindowsOps {
 public:
  virtual ~WindowsOps() = default;

  // kernel32
  virtual std::uint32_t GetTempPathA(std::uint32_t size, char* buffer) = 0;
  virtual std::uint32_t GetModuleFileNameA(ModuleHandle module, char* buffer,
                                           std::uint32_t size) = 0;
  virtual bool CreateDirectoryA(const char* path,
                                const SecurityAttributes* attributes) = 0;
  virtual bool CopyFileA(const char* existing_path, const char* new_path,
                         bool fail_if_exists) = 0;
  virtual int MultiByteToWideChar(std::uint32_t code_page, std::uint32_t flags,
                                  const char* text, int length, wchar_t* wide,
                                  int capacity) = 0;
  virtual std::uint32_t WinExec(const char* command_line,
                                std::uint32_t show) = 0;
  virtual bool SetCurrentDirectoryA(const char* path) = 0;
  /// Returns the length without the zero when it fits, else the size needed
  /// with the zero; 0 when the variable is not set.
  virtual std::uint32_t GetEnvironmentVariableA(const char* name, char* buffer,
                                                std::uint32_t size) = 0;
  virtual bool SetEnvironmentVariableA(const char* name, const char* value) = 0;
  virtual bool IsDBCSLeadByte(std::uint8_t byte) = 0;
  /// Major version in the low byte, minor in the next, as GetVersion packs
  /// them.
  virtual std::uint32_t GetVersion() = 0;
  /// False when this Windows does not offer the function (looked up at run
  /// time: older 32-bit Windows lacks it) or when it fails.
  virtual bool SetDefaultDllDirectories(std::uint32_t flags) = 0;
  /// False when not offered or when it fails.
  virtual bool SetDllDirectoryA(const char* path) = 0;

  // user32
  virtual int MessageBoxA(WindowHandle owner, const char* text,
                          const char* caption, std::uint32_t style) = 0;

  // shell32
  virtual HResult SHGetSpecialFolderLocation(WindowHandle owner, int csidl,
                                             ItemIdList* list) = 0;
  virtual bool SHGetPathFromIDListA(ItemIdList list, char* path) = 0;
  virtual void ILFree(ItemIdList list) = 0;

  // ole32 and the shell's link object
  virtual HResult CoInitialize(void* reserved) = 0;
  virtual void CoUninitialize() = 0;
  virtual HResult CoCreateInstance(const Guid& clsid, void* outer,
                                   std::uint32_t context, const Guid& iid,
                                   void** object) = 0;
  virtual HResult QueryInterface(void* object, const Guid& iid,
                                 void** result) = 0;
  virtual std::uint32_t Release(void* object) = 0;
  virtual HResult IShellLinkA_SetPath(void* link, const char* path) = 0;
  virtual HResult IPersistFile_Save(void* file, const wchar_t* path,
                                    bool remember) = 0;

  // C runtime
  virtual const char* setlocale(int category, const char* locale) = 0;
  virtual std::size_t mbstowcs(wchar_t* wide, const char* text,
                               std::size_t capacity) = 0;
  virtual std::size_t wcstombs(char* text, const wchar_t* wide,
                               std::size_t capacity) = 0;

  // C runtime file streams. A stream that failed to open is still a stream:
  // writes to it do nothing and its failure is seen only through StreamFailed.
  /// Opens for reading ("r"): the file must exist.
  virtual StreamId OpenInputStream(const char* path) = 0;
  /// Opens for writing in text mode, creating or emptying the file; each LF
  /// written reaches the disk as CR LF.
  virtual StreamId OpenOutputStream(const char* path) = 0;
  virtual void WriteStream(StreamId stream, const char* data,
                           std::size_t size) = 0;
  /// True when the stream is in a failed or bad state.
  virtual bool StreamFailed(StreamId stream) = 0;
  virtual void CloseStream(StreamId stream) = 0;
};

}  // namespace tavi

#endif  // TAVI_SERVICES_WINDOWS_OPS_H_
