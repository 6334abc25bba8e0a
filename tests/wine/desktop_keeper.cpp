// Keeps the Wine desktop up for the whole test session. Wine ends its
// desktop process a moment after the last program that uses it, and a
// program that starts while another one brings the desktop up again can
// stall for about ten seconds. This process stays attached to the desktop
// until the session's wineserver ends it.
#include <windows.h>

#include <cstdio>

int main() {
  // A window of our own attaches this process to the desktop, and waits
  // until the desktop is there.
  HWND window = CreateWindowExW(0, L"STATIC", L"tavi desktop keeper", 0, 0, 0,
                                0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!window || !GetDesktopWindow()) {
    std::printf("failed\n");
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
