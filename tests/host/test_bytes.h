#ifndef TAVI_TESTS_HOST_TEST_BYTES_H_
#define TAVI_TESTS_HOST_TEST_BYTES_H_

#include <iconv.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace tavi {

/// Bytes from hex pairs separated by spaces: "83 5C" is "\x83\x5C".
inline std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i < hex.size();) {
    if (hex[i] == ' ') {
      ++i;
      continue;
    }
    bytes +=
        static_cast<char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    i += 2;
  }
  return bytes;
}

/// `utf8` in code page 932, converted by the C library: an encoder of its own,
/// independent of the bytes the program keeps.
inline std::string ToCp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in_ptr = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* out_ptr = &out[0];
  std::size_t out_left = out.size();
  std::size_t result = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("iconv");
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace tavi

#endif  // TAVI_TESTS_HOST_TEST_BYTES_H_
