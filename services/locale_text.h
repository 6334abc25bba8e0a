#ifndef TAVI_SERVICES_LOCALE_TEXT_H_
#define TAVI_SERVICES_LOCALE_TEXT_H_

#include <string>

#include "services/windows_ops.h"

namespace tavi {

/// Converts text between multibyte and wide form under a named runtime
/// locale. Each conversion selects the locale for the whole process first,
/// and nothing restores the one before.
class LocaleText {
 public:
  LocaleText(WindowsOps& ops, std::string locale_name);

  /// The wide form of `text`; empty when the locale cannot convert it.
  std::wstring Widen(const std::string& text) const;
  /// The multibyte form of `text`; empty when the locale cannot convert it.
  std::string Narrow(const std::wstring& text) const;

 private:
  WindowsOps& ops_;
  std::string locale_name_;
};

}  // namespace tavi

#endif  // TAVI_SERVICES_LOCALE_TEXT_H_
