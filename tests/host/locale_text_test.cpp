#include "services/locale_text.h"

#include <gtest/gtest.h>

#include <clocale>

#include "services/path_file.h"
#include "tests/host/recording_windows_ops.h"

namespace tavi {
namespace {

const std::string kSoFolder = "C:\\\x83\x5c\\uninstall.bat";  // ソ: 83 5C

TEST(LocaleTextTest, SelectsTheLocaleBeforeEachConversion) {
  RecordingWindowsOps ops;
  LocaleText locale(ops, "japanese");
  std::wstring wide = locale.Widen(kSoFolder);
  locale.Narrow(wide);
  std::vector<Call> expected = {
      {"setlocale", {std::to_string(LC_ALL), "japanese"}},
      {"mbstowcs", {"null", kSoFolder, "0"}},
      // The capacity is the buffer's size: 18 characters and the zero.
      {"mbstowcs", {"buffer", kSoFolder, "19"}},
      {"setlocale", {std::to_string(LC_ALL), "japanese"}},
      {"wcstombs", {"null", kSoFolder, "0"}},
      // 19 bytes, no room for a zero: the count gives the length.
      {"wcstombs", {"buffer", kSoFolder, "19"}},
  };
  EXPECT_EQ(ops.calls, expected);
}

TEST(LocaleTextTest, RoundTripsDoubleByteTextOneWideCharacterEach) {
  RecordingWindowsOps ops;
  LocaleText locale(ops, "japanese");
  std::wstring wide = locale.Widen(kSoFolder);
  EXPECT_EQ(wide.size(), kSoFolder.size() - 1);
  EXPECT_EQ(wide[3], static_cast<wchar_t>(0x835C));
  EXPECT_EQ(locale.Narrow(wide), kSoFolder);
}

TEST(LocaleTextTest, AConversionErrorGivesAnEmptyText) {
  struct Case {
    const char* op;
    int nth;
  };
  const Case cases[] = {{"mbstowcs", 1}, {"mbstowcs", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.op) + " call " + std::to_string(c.nth));
    RecordingWindowsOps ops;
    ops.Fail(c.op, c.nth);
    EXPECT_EQ(LocaleText(ops, "japanese").Widen("C:\\a"), L"");
  }
  for (int nth : {1, 2}) {
    SCOPED_TRACE("wcstombs call " + std::to_string(nth));
    RecordingWindowsOps ops;
    ops.Fail("wcstombs", nth);
    EXPECT_EQ(LocaleText(ops, "japanese").Narrow(L"C:\\a"), "");
  }
}

TEST(LocaleTextTest, ARefusedLocaleStillConvertsByteForByte) {
  RecordingWindowsOps ops;
  ops.Fail("setlocale");
  LocaleText locale(ops, "japanese");
  std::wstring wide = locale.Widen(kSoFolder);
  EXPECT_EQ(wide.size(), kSoFolder.size());
  EXPECT_EQ(locale.Narrow(wide), kSoFolder);
}

TEST(PathFileTest, KeepsItsPathWideAndProbesWithoutLeavingItOpen) {
  RecordingWindowsOps ops;
  ops.files[kSoFolder] = "";
  PathFile file(ops, kSoFolder);
  EXPECT_EQ(file.path(), RecordingWindowsOps::WidenModel(kSoFolder));
  EXPECT_TRUE(file.ExistsForReading());
  EXPECT_EQ(ops.open_streams(), 0);
  std::vector<Call> opened = {{"OpenInputStream", {kSoFolder}}};
  EXPECT_EQ(ops.CallsOf({"OpenInputStream"}), opened);
}

TEST(PathFileTest, MissingOrUnopenableFilesDoNotExist) {
  RecordingWindowsOps missing;
  EXPECT_FALSE(PathFile(missing, "C:\\none.bat").ExistsForReading());

  RecordingWindowsOps locked;
  locked.files["C:\\locked.bat"] = "";
  locked.Fail("OpenInputStream");
  EXPECT_FALSE(PathFile(locked, "C:\\locked.bat").ExistsForReading());
  EXPECT_EQ(locked.open_streams(), 0);
}

TEST(PathFileTest, AnEmptyPathStaysEmpty) {
  RecordingWindowsOps ops;
  PathFile file(ops, "");
  EXPECT_TRUE(file.path().empty());
  EXPECT_TRUE(ops.CallsOf({"OpenInputStream"}).empty());
}

}  // namespace
}  // namespace tavi
