// Stands in for the tool that the distribution carries as "data1.dat" and
// the setup program installs as "tavi.exe". Only its bytes matter to the
// tests; run, it says what it is.
#include <cstdio>

int main() {
  std::puts("tavi stand-in tool");
  return 0;
}
