#include <gtest/gtest.h>

#include <cstring>

#include "services/windows_constants.h"

namespace {
// Captured before <windows.h> defines macros of the same names.
const tavi::Guid kOurs[] = {tavi::win::CLSID_ShellLink,
                            tavi::win::IID_IShellLinkA,
                            tavi::win::IID_IPersistFile};
}  // namespace

#include <windows.h>
#include <shlobj.h>

namespace {

TEST(WindowsConstantsTest, InterfaceIdentifiersAreTheSdksOwn) {
  const GUID sdk[] = {CLSID_ShellLink, IID_IShellLinkA, IID_IPersistFile};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(std::memcmp(&kOurs[i], &sdk[i], sizeof(GUID)), 0);
  }
}

}  // namespace
