// Stands in for the pause program that the distribution carries as
// "data2.dat" and the setup program installs as "sleep.exe": the uninstall
// script runs it as "Sleep 5000". Sleeps for the milliseconds of its first
// argument, then exits 0.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc > 1) Sleep(static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)));
  return 0;
}
