#include <windows.h>

#include "driver/setup.h"
#include "services/windows_ops_win32.h"

// The command line and the show command are not read: the run is the same
// whatever they say.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  tavi::Win32WindowsOps ops;
  return tavi::RunSetup(ops, instance);
}
