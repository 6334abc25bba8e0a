// Proves, at compile time, that the values the logic passes through the layer
// are the SDK's own. Ours are captured before <windows.h> defines its macros
// of the same names.
#include "services/windows_constants.h"

namespace {
namespace ours = tavi::win;
constexpr auto kMaxPath = ours::MAX_PATH;
constexpr auto kCsidlPrograms = ours::CSIDL_PROGRAMS;
constexpr auto kCsidlSendTo = ours::CSIDL_SENDTO;
constexpr auto kCsidlProgramFiles = ours::CSIDL_PROGRAM_FILES;
constexpr auto kMbOk = ours::MB_OK;
constexpr auto kMbYesNo = ours::MB_YESNO;
constexpr auto kMbIconQuestion = ours::MB_ICONQUESTION;
constexpr auto kMbIconInformation = ours::MB_ICONINFORMATION;
constexpr auto kMbDefButton2 = ours::MB_DEFBUTTON2;
constexpr auto kIdOk = ours::IDOK;
constexpr auto kIdYes = ours::IDYES;
constexpr auto kIdNo = ours::IDNO;
constexpr auto kSwHide = ours::SW_HIDE;
constexpr auto kCpAcp = ours::CP_ACP;
constexpr auto kMbPrecomposed = ours::MB_PRECOMPOSED;
constexpr auto kClsctxInprocServer = ours::CLSCTX_INPROC_SERVER;
constexpr auto kLoadLibrarySearchSystem32 = ours::LOAD_LIBRARY_SEARCH_SYSTEM32;
constexpr auto kSOk = ours::S_OK;
constexpr auto kSFalse = ours::S_FALSE;
}  // namespace

// clang-format off: the SDK must come after the captures above.
#include <windows.h>
#include <shlobj.h>
// clang-format on

namespace {

static_assert(kMaxPath == MAX_PATH);
static_assert(kCsidlPrograms == CSIDL_PROGRAMS);
static_assert(kCsidlSendTo == CSIDL_SENDTO);
static_assert(kCsidlProgramFiles == CSIDL_PROGRAM_FILES);
static_assert(kMbOk == MB_OK);
static_assert(kMbYesNo == MB_YESNO);
static_assert(kMbIconQuestion == MB_ICONQUESTION);
static_assert(kMbIconInformation == MB_ICONINFORMATION);
static_assert(kMbDefButton2 == MB_DEFBUTTON2);
static_assert(kIdOk == IDOK);
static_assert(kIdYes == IDYES);
static_assert(kIdNo == IDNO);
static_assert(kSwHide == SW_HIDE);
static_assert(kCpAcp == CP_ACP);
static_assert(kMbPrecomposed == MB_PRECOMPOSED);
static_assert(kClsctxInprocServer == CLSCTX_INPROC_SERVER);
static_assert(kLoadLibrarySearchSystem32 == LOAD_LIBRARY_SEARCH_SYSTEM32);
static_assert(kSOk == S_OK);
static_assert(kSFalse == S_FALSE);
static_assert(sizeof(tavi::Guid) == sizeof(GUID));
static_assert(sizeof(tavi::SecurityAttributes) == sizeof(SECURITY_ATTRIBUTES));
static_assert(sizeof(tavi::HResult) == sizeof(HRESULT));
static_assert(sizeof(void*) != 4 || sizeof(SECURITY_ATTRIBUTES) == 12);

}  // namespace
