#include "services/shortcut_writer.h"

#include <gtest/gtest.h>

#include "services/texts.h"
#include "tests/host/recording_windows_ops.h"

namespace tavi {
namespace {

const char kShellLink[] = "{00021401-0000-0000-C000-000000000046}";
const char kIShellLinkA[] = "{000214EE-0000-0000-C000-000000000046}";
const char kIPersistFile[] = "{0000010B-0000-0000-C000-000000000046}";
const std::string kLink = std::string("C:\\menu\\tavi\\") + text::kHelpLink;
const std::string kTarget = "C:\\Program Files\\tavi\\readme.txt";

const Call kConvert = {"MultiByteToWideChar", {"0", "1", kLink, "-1", "260"}};
const Call kInit = {"CoInitialize", {"null"}};
const Call kCreate = {"CoCreateInstance",
                      {kShellLink, "null", "1", kIShellLinkA}};
const Call kSetPath = {"IShellLinkA_SetPath", {"link1", kTarget}};
const Call kQuery = {"QueryInterface", {"link1", kIPersistFile}};
const Call kSave = {"IPersistFile_Save", {"file1", kLink, "1"}};
const Call kReleaseFile = {"Release", {"file1"}};
const Call kReleaseLink = {"Release", {"link1"}};
const Call kUninit = {"CoUninitialize", {}};
const Call kMessage = {"MessageBoxA",
                       {"null", text::kShortcutFailed, "(null)", "0x0"}};

TEST(ShortcutWriterTest, SavesThroughTheLinkObjectAndShowsNothing) {
  RecordingWindowsOps ops;
  EXPECT_EQ(WriteShortcutFile(ops, kLink, kTarget), 1);
  std::vector<Call> expected = {kConvert,     kInit,        kCreate,
                                kSetPath,     kQuery,       kSave,
                                kReleaseFile, kReleaseLink, kUninit};
  EXPECT_EQ(ops.calls, expected);
  EXPECT_EQ(ops.com_depth(), 0);
}

TEST(ShortcutWriterTest, EachFailureReleasesWhatWasObtainedThenTellsTheUser) {
  struct Case {
    const char* op;
    long long result;
    std::vector<Call> expected;
  };
  const long long kEFail = static_cast<std::int32_t>(0x80004005);
  const long long kSFalse = 1;
  const Case cases[] = {
      {"CoCreateInstance",
       kEFail,
       {kConvert, kInit, kCreate, kUninit, kMessage}},
      {"QueryInterface",
       kEFail,
       {kConvert, kInit, kCreate, kSetPath, kQuery, kReleaseLink, kUninit,
        kMessage}},
      {"IPersistFile_Save",
       kEFail,
       {kConvert, kInit, kCreate, kSetPath, kQuery, kSave, kReleaseFile,
        kReleaseLink, kUninit, kMessage}},
      // A success code other than zero still counts as failure.
      {"IPersistFile_Save",
       kSFalse,
       {kConvert, kInit, kCreate, kSetPath, kQuery, kSave, kReleaseFile,
        kReleaseLink, kUninit, kMessage}},
      // A failed SetPath is not looked at: the save decides.
      {"IShellLinkA_SetPath",
       kEFail,
       {kConvert, kInit, kCreate, kSetPath, kQuery, kSave, kReleaseFile,
        kReleaseLink, kUninit}},
      // COM could not be entered: it is not left either.
      {"CoInitialize", kEFail, {kConvert, kInit, kCreate, kMessage}},
      // Already entered on this thread (S_FALSE): still balanced.
      {"CoInitialize",
       kSFalse,
       {kConvert, kInit, kCreate, kSetPath, kQuery, kSave, kReleaseFile,
        kReleaseLink, kUninit}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.op) + " " + std::to_string(c.result));
    RecordingWindowsOps ops;
    ops.FailWith(c.op, c.result);
    bool fails = c.expected.back() == kMessage;
    EXPECT_EQ(WriteShortcutFile(ops, kLink, kTarget), fails ? 0 : 1);
    EXPECT_EQ(ops.calls, c.expected);
    EXPECT_EQ(ops.com_depth(), 0);
  }
}

TEST(ShortcutWriterTest, ALinkPathTooLongForTheBufferNeverReachesSave) {
  RecordingWindowsOps ops;
  const std::string long_link = "C:\\" + std::string(300, 'a') + ".lnk";
  EXPECT_EQ(WriteShortcutFile(ops, long_link, kTarget), 0);
  EXPECT_TRUE(ops.CallsOf({"IPersistFile_Save"}).empty());
  EXPECT_EQ(ops.calls.back(), kMessage);
  EXPECT_EQ(ops.com_depth(), 0);
}

TEST(ShortcutWriterTest, APathThatFillsTheBufferExactlyIsSaved) {
  RecordingWindowsOps ops;
  const std::string link = "C:\\" + std::string(252, 'a') + ".lnk";  // 259
  EXPECT_EQ(WriteShortcutFile(ops, link, kTarget), 1);
  EXPECT_EQ(ops.files.count(link), 1u);
}

}  // namespace
}  // namespace tavi
