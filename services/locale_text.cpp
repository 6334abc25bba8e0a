#include "services/locale_text.h"

#include <clocale>
#include <utility>
#include <vector>

namespace tavi {

namespace {
constexpr std::size_t kConversionError = static_cast<std::size_t>(-1);
}  // namespace

LocaleText::LocaleText(WindowsOps& ops, std::string locale_name)
    : ops_(ops), locale_name_(std::move(locale_name)) {}

std::wstring LocaleText::Widen(const std::string& text) const {
  ops_.setlocale(LC_ALL, locale_name_.c_str());
  std::size_t count = ops_.mbstowcs(nullptr, text.c_str(), 0);
  if (count == kConversionError) return std::wstring();
  // The capacity is the buffer's own size, so the runtime can never be told
  // it may write past it.
  std::vector<wchar_t> buffer(count + 1);
  std::size_t converted =
      ops_.mbstowcs(buffer.data(), text.c_str(), buffer.size());
  if (converted == kConversionError) return std::wstring();
  return std::wstring(buffer.data(), converted);
}

std::string LocaleText::Narrow(const std::wstring& text) const {
  ops_.setlocale(LC_ALL, locale_name_.c_str());
  std::size_t count = ops_.wcstombs(nullptr, text.c_str(), 0);
  if (count == kConversionError) return std::string();
  // Capacity `count` leaves the terminator out: the length comes from the
  // returned count, never from a search for a zero.
  std::vector<char> buffer(count + 1);
  std::size_t converted = ops_.wcstombs(buffer.data(), text.c_str(), count);
  if (converted == kConversionError) return std::string();
  return std::string(buffer.data(), converted);
}

}  // namespace tavi
