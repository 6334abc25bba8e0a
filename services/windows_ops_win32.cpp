#include "services/windows_ops_win32.h"

#include <clocale>
#include <cstdlib>
#include <cstring>

#include <windows.h>
#include <shlobj.h>

namespace tavi {

namespace {

GUID ToGuid(const Guid& guid) {
  GUID result;
  static_assert(sizeof(result) == sizeof(guid), "GUID layout");
  std::memcpy(&result, &guid, sizeof(result));
  return result;
}

// Functions that older 32-bit Windows lacks, looked up at run time.
template <typename Function>
Function Kernel32Function(const char* name) {
  HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
  if (kernel32 == nullptr) return nullptr;
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(kernel32, name)));
}

}  // namespace

Win32WindowsOps::~Win32WindowsOps() {
  for (const Stream& stream : streams_) {
    if (stream.file != nullptr) std::fclose(stream.file);
  }
}

std::uint32_t Win32WindowsOps::GetTempPathA(std::uint32_t size, char* buffer) {
  return ::GetTempPathA(size, buffer);
}

std::uint32_t Win32WindowsOps::GetModuleFileNameA(ModuleHandle module,
                                                  char* buffer,
                                                  std::uint32_t size) {
  return ::GetModuleFileNameA(static_cast<HMODULE>(module), buffer, size);
}

bool Win32WindowsOps::CreateDirectoryA(const char* path,
                                       const SecurityAttributes* attributes) {
  static_assert(sizeof(SecurityAttributes) == sizeof(SECURITY_ATTRIBUTES),
                "SECURITY_ATTRIBUTES layout");
  SECURITY_ATTRIBUTES record;
  std::memcpy(&record, attributes, sizeof(record));
  return ::CreateDirectoryA(path, &record) != FALSE;
}

bool Win32WindowsOps::CopyFileA(const char* existing_path, const char* new_path,
                                bool fail_if_exists) {
  return ::CopyFileA(existing_path, new_path, fail_if_exists) != FALSE;
}

int Win32WindowsOps::MultiByteToWideChar(std::uint32_t code_page,
                                         std::uint32_t flags, const char* text,
                                         int length, wchar_t* wide,
                                         int capacity) {
  return ::MultiByteToWideChar(code_page, flags, text, length, wide, capacity);
}

std::uint32_t Win32WindowsOps::WinExec(const char* command_line,
                                       std::uint32_t show) {
  return ::WinExec(command_line, show);
}

bool Win32WindowsOps::SetCurrentDirectoryA(const char* path) {
  return ::SetCurrentDirectoryA(path) != FALSE;
}

std::uint32_t Win32WindowsOps::GetEnvironmentVariableA(const char* name,
                                                       char* buffer,
                                                       std::uint32_t size) {
  return ::GetEnvironmentVariableA(name, buffer, size);
}

bool Win32WindowsOps::SetEnvironmentVariableA(const char* name,
                                              const char* value) {
  return ::SetEnvironmentVariableA(name, value) != FALSE;
}

bool Win32WindowsOps::IsDBCSLeadByte(std::uint8_t byte) {
  return ::IsDBCSLeadByte(byte) != FALSE;
}

std::uint32_t Win32WindowsOps::GetVersion() {
  // Deprecated, but still the plain answer to "is this Vista?", which is all
  // it is asked; later versions may understate themselves, never as 6.0.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return ::GetVersion();
#pragma GCC diagnostic pop
}

bool Win32WindowsOps::SetDefaultDllDirectories(std::uint32_t flags) {
  using Function = BOOL(WINAPI*)(DWORD);
  Function function = Kernel32Function<Function>("SetDefaultDllDirectories");
  return function != nullptr && function(flags) != FALSE;
}

bool Win32WindowsOps::SetDllDirectoryA(const char* path) {
  using Function = BOOL(WINAPI*)(LPCSTR);
  Function function = Kernel32Function<Function>("SetDllDirectoryA");
  return function != nullptr && function(path) != FALSE;
}

int Win32WindowsOps::MessageBoxA(WindowHandle owner, const char* text,
                                 const char* caption, std::uint32_t style) {
  return ::MessageBoxA(static_cast<HWND>(owner), text, caption, style);
}

HResult Win32WindowsOps::SHGetSpecialFolderLocation(WindowHandle owner,
                                                    int csidl,
                                                    ItemIdList* list) {
  PIDLIST_ABSOLUTE result = nullptr;
  HRESULT hr =
      ::SHGetSpecialFolderLocation(static_cast<HWND>(owner), csidl, &result);
  *list = result;
  return hr;
}

bool Win32WindowsOps::SHGetPathFromIDListA(ItemIdList list, char* path) {
  return ::SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(list), path) !=
         FALSE;
}

void Win32WindowsOps::ILFree(ItemIdList list) { ::CoTaskMemFree(list); }

HResult Win32WindowsOps::CoInitialize(void* reserved) {
  return ::CoInitialize(reserved);
}

void Win32WindowsOps::CoUninitialize() { ::CoUninitialize(); }

HResult Win32WindowsOps::CoCreateInstance(const Guid& clsid, void* outer,
                                          std::uint32_t context,
                                          const Guid& iid, void** object) {
  return ::CoCreateInstance(ToGuid(clsid), static_cast<IUnknown*>(outer),
                            context, ToGuid(iid), object);
}

HResult Win32WindowsOps::QueryInterface(void* object, const Guid& iid,
                                        void** result) {
  return static_cast<IUnknown*>(object)->QueryInterface(ToGuid(iid), result);
}

std::uint32_t Win32WindowsOps::Release(void* object) {
  return static_cast<IUnknown*>(object)->Release();
}

HResult Win32WindowsOps::IShellLinkA_SetPath(void* link, const char* path) {
  return static_cast<IShellLinkA*>(link)->SetPath(path);
}

HResult Win32WindowsOps::IPersistFile_Save(void* file, const wchar_t* path,
                                           bool remember) {
  return static_cast<IPersistFile*>(file)->Save(path, remember);
}

const char* Win32WindowsOps::setlocale(int category, const char* locale) {
  return std::setlocale(category, locale);
}

std::size_t Win32WindowsOps::mbstowcs(wchar_t* wide, const char* text,
                                      std::size_t capacity) {
  return std::mbstowcs(wide, text, capacity);
}

std::size_t Win32WindowsOps::wcstombs(char* text, const wchar_t* wide,
                                      std::size_t capacity) {
  return std::wcstombs(text, wide, capacity);
}

StreamId Win32WindowsOps::Open(const char* path, const char* mode) {
  std::FILE* file = std::fopen(path, mode);
  streams_.push_back({file, file == nullptr});
  return static_cast<StreamId>(streams_.size() - 1);
}

Win32WindowsOps::Stream* Win32WindowsOps::Find(StreamId stream) {
  if (stream < 0 || static_cast<std::size_t>(stream) >= streams_.size()) {
    return nullptr;
  }
  return &streams_[stream];
}

StreamId Win32WindowsOps::OpenInputStream(const char* path) {
  return Open(path, "r");
}

StreamId Win32WindowsOps::OpenOutputStream(const char* path) {
  return Open(path, "w");  // text mode: LF is written as CR LF
}

void Win32WindowsOps::WriteStream(StreamId stream, const char* data,
                                  std::size_t size) {
  Stream* target = Find(stream);
  if (target == nullptr || target->file == nullptr) return;
  if (std::fwrite(data, 1, size, target->file) != size) target->failed = true;
}

bool Win32WindowsOps::StreamFailed(StreamId stream) {
  Stream* target = Find(stream);
  if (target == nullptr) return true;
  return target->failed ||
         (target->file != nullptr && std::ferror(target->file) != 0);
}

void Win32WindowsOps::CloseStream(StreamId stream) {
  Stream* target = Find(stream);
  if (target == nullptr || target->file == nullptr) return;
  if (std::fclose(target->file) != 0) target->failed = true;
  target->file = nullptr;
}

}  // namespace tavi
