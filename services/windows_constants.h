#ifndef TAVI_SERVICES_WINDOWS_CONSTANTS_H_
#define TAVI_SERVICES_WINDOWS_CONSTANTS_H_

#include <cstdint>

#include "services/windows_ops.h"

// The Windows values the program passes through the layer, under their
// Windows names. windows_constants_check.cpp proves them against the SDK in
// every Windows build; never include this header after <windows.h>.

namespace tavi {
namespace win {

constexpr std::uint32_t MAX_PATH = 260;

constexpr int CSIDL_PROGRAMS = 2;
constexpr int CSIDL_SENDTO = 9;
constexpr int CSIDL_PROGRAM_FILES = 38;

constexpr std::uint32_t MB_OK = 0x0;
constexpr std::uint32_t MB_YESNO = 0x4;
constexpr std::uint32_t MB_ICONQUESTION = 0x20;
constexpr std::uint32_t MB_ICONINFORMATION = 0x40;
constexpr std::uint32_t MB_DEFBUTTON2 = 0x100;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

constexpr std::uint32_t SW_HIDE = 0;
constexpr std::uint32_t CP_ACP = 0;
constexpr std::uint32_t MB_PRECOMPOSED = 0x1;
constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;
constexpr std::uint32_t LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800;

constexpr HResult S_OK = 0;
constexpr HResult S_FALSE = 1;

constexpr Guid CLSID_ShellLink = {
    0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr Guid IID_IShellLinkA = {
    0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr Guid IID_IPersistFile = {
    0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

}  // namespace win
}  // namespace tavi

#endif  // TAVI_SERVICES_WINDOWS_CONSTANTS_H_
