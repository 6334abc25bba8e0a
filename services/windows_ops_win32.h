#ifndef TAVI_SERVICES_WINDOWS_OPS_WIN32_H_
#define TAVI_SERVICES_WINDOWS_OPS_WIN32_H_

#include <cstdio>
#include <vector>

#include "services/windows_ops.h"

namespace tavi {

/// The real layer: each operation calls the Windows function or runtime
/// routine of its name, unchanged.
class Win32WindowsOps : public WindowsOps {
 public:
  Win32WindowsOps() = default;
  Win32WindowsOps(const Win32WindowsOps&) = delete;
  Win32WindowsOps& operator=(const Win32WindowsOps&) = delete;
  ~Win32WindowsOps() override;

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

 private:
  // One per stream opened: `file` is null when the open failed or once the
  // stream is closed; `failed` records an open, write or close that failed.
  struct Stream {
    std::FILE* file;
    bool failed;
  };

  StreamId Open(const char* path, const char* mode);
  /// The stream of that id, or null for an id never handed out.
  Stream* Find(StreamId stream);

  std::vector<Stream> streams_;
};

}  // namespace tavi

#endif  // TAVI_SERVICES_WINDOWS_OPS_WIN32_H_
