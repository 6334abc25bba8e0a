#include "tests/host/recording_windows_ops.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tavi {

namespace {

constexpr long long kEFail = static_cast<std::int32_t>(0x80004005);
constexpr std::size_t kConversionError = static_cast<std::size_t>(-1);
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr std::uint32_t kMbYesNo = 0x4;
constexpr std::uint32_t kWinExecFileNotFound = 2;

bool IsLead(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string Hex(unsigned long long value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", value);
  return text;
}

std::string Str(const char* text) {
  return text == nullptr ? "(null)" : std::string(text);
}

std::string GuidText(const Guid& guid) {
  char text[64];
  std::snprintf(text, sizeof text,
                "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                guid.data1, guid.data2, guid.data3, guid.data4[0],
                guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4],
                guid.data4[5], guid.data4[6], guid.data4[7]);
  return text;
}

// Copies `text` and a zero into a buffer of `size` characters; returns the
// length when it fits, else the size needed with the zero (Windows' rule).
std::uint32_t CopyOut(const std::string& text, char* buffer,
                      std::uint32_t size) {
  if (buffer == nullptr || text.size() + 1 > size) {
    return static_cast<std::uint32_t>(text.size() + 1);
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<std::uint32_t>(text.size());
}

}  // namespace

std::string Printable(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

std::ostream& operator<<(std::ostream& out, const Call& call) {
  out << call.op << "(";
  for (std::size_t i = 0; i < call.args.size(); ++i) {
    out << (i ? ", " : "") << '"' << Printable(call.args[i]) << '"';
  }
  return out << ")";
}

std::wstring RecordingWindowsOps::WidenModel(const std::string& text) {
  std::wstring wide;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (IsLead(byte) && i + 1 < text.size()) {
      unsigned char trail = static_cast<unsigned char>(text[++i]);
      wide += static_cast<wchar_t>(byte << 8 | trail);
    } else {
      wide += static_cast<wchar_t>(byte);
    }
  }
  return wide;
}

std::string RecordingWindowsOps::NarrowModel(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) {
    unsigned value = static_cast<unsigned>(c);
    if (value > 0xFF) narrow += static_cast<char>(value >> 8);
    narrow += static_cast<char>(value & 0xFF);
  }
  return narrow;
}

void RecordingWindowsOps::Fail(const std::string& op, int nth) {
  failures_[op].push_back({nth, 0, false});
}

void RecordingWindowsOps::FailWith(const std::string& op, long long result,
                                   int nth) {
  failures_[op].push_back({nth, result, true});
}

bool RecordingWindowsOps::ShouldFail(const std::string& op, long long* result) {
  int count = ++call_counts_[op];
  auto rules = failures_.find(op);
  if (rules == failures_.end()) return false;
  for (const FailureRule& rule : rules->second) {
    if (rule.nth == 0 || rule.nth == count) {
      if (result != nullptr && rule.has_result) *result = rule.result;
      return true;
    }
  }
  return false;
}

void RecordingWindowsOps::Record(const std::string& op,
                                 std::vector<std::string> args) {
  calls.push_back({op, std::move(args)});
}

std::vector<Call> RecordingWindowsOps::CallsOf(
    const std::vector<std::string>& ops) const {
  std::vector<Call> selected;
  for (const Call& call : calls) {
    if (std::find(ops.begin(), ops.end(), call.op) != ops.end()) {
      selected.push_back(call);
    }
  }
  return selected;
}

int RecordingWindowsOps::open_streams() const {
  return static_cast<int>(std::count_if(
      streams_.begin(), streams_.end(),
      [](const Stream& stream) { return stream.open && !stream.failed; }));
}

void* RecordingWindowsOps::NewObject(const std::string& name) {
  // Tokens only: the double never dereferences them.
  void* object = reinterpret_cast<void*>(
      static_cast<std::uintptr_t>(0x1000 + objects_.size()));
  objects_[object] = name;
  return object;
}

std::string RecordingWindowsOps::NameOf(const void* object) const {
  if (object == nullptr) return "null";
  auto found = objects_.find(object);
  return found == objects_.end()
             ? "unknown " + Hex(reinterpret_cast<std::uintptr_t>(object))
             : found->second;
}

std::uint32_t RecordingWindowsOps::GetTempPathA(std::uint32_t size,
                                                char* buffer) {
  Record("GetTempPathA", {std::to_string(size)});
  if (ShouldFail("GetTempPathA")) return 0;
  return CopyOut(temp_path, buffer, size);
}

std::uint32_t RecordingWindowsOps::GetModuleFileNameA(ModuleHandle module,
                                                      char* buffer,
                                                      std::uint32_t size) {
  Record("GetModuleFileNameA",
         {Hex(reinterpret_cast<std::uintptr_t>(module)), std::to_string(size)});
  if (ShouldFail("GetModuleFileNameA")) return 0;
  // Like Windows, a path too long is cut to the size and left unterminated.
  std::size_t length = std::min<std::size_t>(module_path.size(), size);
  std::memcpy(buffer, module_path.data(), length);
  if (length < size) buffer[length] = '\0';
  return static_cast<std::uint32_t>(length);
}

bool RecordingWindowsOps::CreateDirectoryA(
    const char* path, const SecurityAttributes* attributes) {
  Record("CreateDirectoryA",
         {Str(path), std::to_string(attributes->length),
          attributes->security_descriptor == nullptr ? "null" : "descriptor",
          std::to_string(attributes->inherit_handle)});
  return !ShouldFail("CreateDirectoryA");
}

bool RecordingWindowsOps::CopyFileA(const char* existing_path,
                                    const char* new_path, bool fail_if_exists) {
  Record("CopyFileA",
         {Str(existing_path), Str(new_path), fail_if_exists ? "1" : "0"});
  return !ShouldFail("CopyFileA");
}

int RecordingWindowsOps::MultiByteToWideChar(std::uint32_t code_page,
                                             std::uint32_t flags,
                                             const char* text, int length,
                                             wchar_t* wide, int capacity) {
  Record("MultiByteToWideChar",
         {std::to_string(code_page), std::to_string(flags), Str(text),
          std::to_string(length), std::to_string(capacity)});
  std::wstring converted = WidenModel(text);
  int needed = static_cast<int>(converted.size()) + 1;
  if (ShouldFail("MultiByteToWideChar") || needed > capacity) {
    // Windows may leave a partly written, unterminated buffer behind.
    std::fill(wide, wide + capacity, L'X');
    return 0;
  }
  std::copy(converted.c_str(), converted.c_str() + needed, wide);
  return needed;
}

std::uint32_t RecordingWindowsOps::WinExec(const char* command_line,
                                           std::uint32_t show) {
  Record("WinExec", {Str(command_line), std::to_string(show)});
  return ShouldFail("WinExec") ? kWinExecFileNotFound : 33;
}

bool RecordingWindowsOps::SetCurrentDirectoryA(const char* path) {
  Record("SetCurrentDirectoryA", {Str(path)});
  if (ShouldFail("SetCurrentDirectoryA")) return false;
  current_directory_ = path;
  return true;
}

std::uint32_t RecordingWindowsOps::GetEnvironmentVariableA(const char* name,
                                                           char* buffer,
                                                           std::uint32_t size) {
  Record("GetEnvironmentVariableA", {Str(name), std::to_string(size)});
  auto found = environment.find(name);
  if (ShouldFail("GetEnvironmentVariableA") || found == environment.end()) {
    return 0;
  }
  return CopyOut(found->second, buffer, size);
}

bool RecordingWindowsOps::SetEnvironmentVariableA(const char* name,
                                                  const char* value) {
  Record("SetEnvironmentVariableA", {Str(name), Str(value)});
  if (ShouldFail("SetEnvironmentVariableA")) return false;
  environment[name] = value;
  return true;
}

bool RecordingWindowsOps::IsDBCSLeadByte(std::uint8_t byte) {
  return IsLead(byte);
}

std::uint32_t RecordingWindowsOps::GetVersion() {
  Record("GetVersion", {});
  return version;
}

bool RecordingWindowsOps::SetDefaultDllDirectories(std::uint32_t flags) {
  Record("SetDefaultDllDirectories", {Hex(flags)});
  return !ShouldFail("SetDefaultDllDirectories");
}

bool RecordingWindowsOps::SetDllDirectoryA(const char* path) {
  Record("SetDllDirectoryA", {Str(path)});
  return !ShouldFail("SetDllDirectoryA");
}

int RecordingWindowsOps::MessageBoxA(WindowHandle owner, const char* text,
                                     const char* caption, std::uint32_t style) {
  Record("MessageBoxA", {owner == nullptr ? "null" : "owner", Str(text),
                         Str(caption), Hex(style)});
  if (ShouldFail("MessageBoxA")) return 0;
  if (!message_box_answers.empty()) {
    int answer = message_box_answers.front();
    message_box_answers.pop_front();
    return answer;
  }
  return (style & 0xF) == kMbYesNo ? kIdYes : kIdOk;
}

HResult RecordingWindowsOps::SHGetSpecialFolderLocation(WindowHandle owner,
                                                        int csidl,
                                                        ItemIdList* list) {
  Record("SHGetSpecialFolderLocation",
         {owner == nullptr ? "null" : "owner", std::to_string(csidl)});
  long long result = kEFail;
  // A failed look-up leaves the caller's variable as it was.
  if (ShouldFail("SHGetSpecialFolderLocation", &result)) {
    return static_cast<HResult>(result);
  }
  *list = NewObject("list" + std::to_string(csidl));
  return 0;
}

bool RecordingWindowsOps::SHGetPathFromIDListA(ItemIdList list, char* path) {
  Record("SHGetPathFromIDListA", {NameOf(list)});
  std::string name = NameOf(list);
  if (ShouldFail("SHGetPathFromIDListA") || name.rfind("list", 0) != 0) {
    return false;
  }
  auto folder = special_folders.find(std::stoi(name.substr(4)));
  if (folder == special_folders.end()) return false;
  std::strcpy(path, folder->second.c_str());
  return true;
}

void RecordingWindowsOps::ILFree(ItemIdList list) {
  Record("ILFree", {NameOf(list)});
}

HResult RecordingWindowsOps::CoInitialize(void* reserved) {
  Record("CoInitialize", {reserved == nullptr ? "null" : "reserved"});
  long long result = kEFail;
  if (ShouldFail("CoInitialize", &result)) {
    if (result >= 0) ++com_depth_;  // S_FALSE still needs its uninitialise
    return static_cast<HResult>(result);
  }
  ++com_depth_;
  return 0;
}

void RecordingWindowsOps::CoUninitialize() {
  Record("CoUninitialize", {});
  --com_depth_;
}

HResult RecordingWindowsOps::CoCreateInstance(const Guid& clsid, void* outer,
                                              std::uint32_t context,
                                              const Guid& iid, void** object) {
  Record("CoCreateInstance",
         {GuidText(clsid), outer == nullptr ? "null" : "outer",
          std::to_string(context), GuidText(iid)});
  long long result = kEFail;
  if (com_depth_ <= 0 || ShouldFail("CoCreateInstance", &result)) {
    *object = nullptr;
    return static_cast<HResult>(result);
  }
  *object =
      NewObject("link" + std::to_string(call_counts_["CoCreateInstance"]));
  return 0;
}

HResult RecordingWindowsOps::QueryInterface(void* object, const Guid& iid,
                                            void** result) {
  Record("QueryInterface", {NameOf(object), GuidText(iid)});
  long long failure = kEFail;
  if (ShouldFail("QueryInterface", &failure)) {
    *result = nullptr;
    return static_cast<HResult>(failure);
  }
  *result = NewObject("file" + std::to_string(call_counts_["QueryInterface"]));
  return 0;
}

std::uint32_t RecordingWindowsOps::Release(void* object) {
  Record("Release", {NameOf(object)});
  return 0;
}

HResult RecordingWindowsOps::IShellLinkA_SetPath(void* link, const char* path) {
  Record("IShellLinkA_SetPath", {NameOf(link), Str(path)});
  long long result = kEFail;
  return ShouldFail("IShellLinkA_SetPath", &result)
             ? static_cast<HResult>(result)
             : 0;
}

HResult RecordingWindowsOps::IPersistFile_Save(void* file, const wchar_t* path,
                                               bool remember) {
  Record("IPersistFile_Save",
         {NameOf(file), NarrowModel(path), remember ? "1" : "0"});
  long long result = kEFail;
  if (ShouldFail("IPersistFile_Save", &result)) {
    return static_cast<HResult>(result);
  }
  files[NarrowModel(path)] = "shortcut";
  return 0;
}

const char* RecordingWindowsOps::setlocale(int category, const char* locale) {
  Record("setlocale", {std::to_string(category), Str(locale)});
  if (locale == nullptr) return locale_.c_str();
  if (ShouldFail("setlocale")) return nullptr;
  locale_ = locale;
  japanese_ = locale_ == "japanese";
  return locale_.c_str();
}

std::size_t RecordingWindowsOps::mbstowcs(wchar_t* wide, const char* text,
                                          std::size_t capacity) {
  Record("mbstowcs", {wide == nullptr ? "null" : "buffer", Str(text),
                      std::to_string(capacity)});
  long long result = 0;
  if (ShouldFail("mbstowcs", &result)) {
    return static_cast<std::size_t>(result == 0 ? -1 : result);
  }
  std::string bytes(text);
  std::wstring converted;
  if (japanese_) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (IsLead(static_cast<unsigned char>(bytes[i])) && ++i == bytes.size()) {
        return kConversionError;  // a lead byte with no trail byte
      }
    }
    converted = WidenModel(bytes);
  } else {
    for (unsigned char c : bytes) converted += static_cast<wchar_t>(c);
  }
  if (wide == nullptr) return converted.size();
  std::size_t count = std::min(capacity, converted.size());
  std::copy(converted.begin(), converted.begin() + count, wide);
  if (count < capacity) wide[count] = L'\0';
  return count;
}

std::size_t RecordingWindowsOps::wcstombs(char* text, const wchar_t* wide,
                                          std::size_t capacity) {
  Record("wcstombs", {text == nullptr ? "null" : "buffer", NarrowModel(wide),
                      std::to_string(capacity)});
  long long result = 0;
  if (ShouldFail("wcstombs", &result)) {
    return static_cast<std::size_t>(result == 0 ? -1 : result);
  }
  std::string converted;
  for (const wchar_t* c = wide; *c != L'\0'; ++c) {
    unsigned value = static_cast<unsigned>(*c);
    if (value > 0xFF && !japanese_) return kConversionError;
    converted += NarrowModel(std::wstring(1, *c));
  }
  if (text == nullptr) return converted.size();
  // Never splits a character: stops before one that does not fit whole.
  std::size_t count = 0;
  for (const wchar_t* c = wide; *c != L'\0'; ++c) {
    std::size_t size = static_cast<unsigned>(*c) > 0xFF ? 2 : 1;
    if (count + size > capacity) break;
    count += size;
  }
  std::copy(converted.begin(), converted.begin() + count, text);
  if (count < capacity) text[count] = '\0';
  return count;
}

StreamId RecordingWindowsOps::OpenInputStream(const char* path) {
  Record("OpenInputStream", {Str(path)});
  Stream stream;
  stream.path = path;
  stream.failed = ShouldFail("OpenInputStream") || files.count(path) == 0;
  streams_.push_back(stream);
  return static_cast<StreamId>(streams_.size() - 1);
}

StreamId RecordingWindowsOps::OpenOutputStream(const char* path) {
  Record("OpenOutputStream", {Str(path)});
  Stream stream;
  stream.path = path;
  stream.output = true;
  stream.failed = ShouldFail("OpenOutputStream");
  if (!stream.failed) files[path] = "";
  streams_.push_back(stream);
  return static_cast<StreamId>(streams_.size() - 1);
}

void RecordingWindowsOps::WriteStream(StreamId stream, const char* data,
                                      std::size_t size) {
  Record("WriteStream", {std::to_string(stream), std::string(data, size)});
  Stream& target = streams_.at(stream);
  if (!target.failed && target.open) target.pending.append(data, size);
}

bool RecordingWindowsOps::StreamFailed(StreamId stream) {
  Record("StreamFailed", {std::to_string(stream)});
  return streams_.at(stream).failed;
}

void RecordingWindowsOps::CloseStream(StreamId stream) {
  Record("CloseStream", {std::to_string(stream)});
  Stream& target = streams_.at(stream);
  if (target.open && target.output && !target.failed) {
    files[target.path] += target.pending;
  }
  target.open = false;
}

}  // namespace tavi
