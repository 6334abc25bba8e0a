// Guards the ground every test under Wine stands on: the setup program's
// texts are code page 932 bytes passed to the ANSI functions, and its path
// probe converts under the runtime locale "japanese". If the session's locale
// were lost (no ja_JP locale on the machine, LANG not passed through), every
// Japanese text would be garbled and the failures would point elsewhere.
#include <windows.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    ++failures;
  }
}

}  // namespace

int main() {
  std::printf("ANSI code page %u, OEM code page %u\n", GetACP(), GetOEMCP());
  Check(GetACP() == 932, "the ANSI code page is 932");

  const char* locale = std::setlocale(LC_ALL, "japanese");
  std::printf("setlocale(LC_ALL, \"japanese\") = %s\n",
              locale ? locale : "(null)");
  Check(locale != nullptr && std::strcmp(locale, "Japanese_Japan.932") == 0,
        "the runtime locale \"japanese\" is Japanese_Japan.932");

  // "タヴィソ" in code page 932; the last character's trail byte is 0x5C, the
  // byte of "\", which a single-byte conversion would split off.
  const char narrow[] = "\x83\x5E\x83\x94\x83\x42\x83\x5C";
  const wchar_t expected[] = L"\u30BF\u30F4\u30A3\u30BD";
  wchar_t wide[16] = {};
  std::size_t n = std::mbstowcs(wide, narrow, 16);
  Check(n == 4 && std::wcscmp(wide, expected) == 0,
        "mbstowcs reads four double-byte characters under \"japanese\"");

  wchar_t api_wide[16] = {};
  int m = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, narrow, -1, api_wide, 16);
  Check(m == 5 && std::wcscmp(api_wide, expected) == 0,
        "MultiByteToWideChar(CP_ACP) reads the same four characters");

  std::printf(failures ? "%d check(s) failed\n" : "all checks passed\n",
              failures);
  return failures ? EXIT_FAILURE : EXIT_SUCCESS;
}
