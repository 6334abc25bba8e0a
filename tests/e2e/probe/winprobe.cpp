// winprobe: the harness's eyes inside the Wine prefix. It reads what only a
// Windows process can see and prints it for the Python harness:
//
//   winprobe folders     the folders the setup program computes, through the
//                        same ANSI calls, as raw code page 932 bytes:
//                        temp=..., programfiles=..., programs=..., sendto=...
//                        and the current folder as cwd=...
//   winprobe dialogs     one JSON object per visible dialog box (UTF-8):
//                        caption, text, buttons, default button, owner pid
//                        the X window that Wine made for it, and where its
//                        icon is on the screen
//   winprobe processes   one JSON object per process (UTF-8): pid, exe
//   winprobe icons R G B SIZE
//                        the standard message box icons drawn on that colour,
//                        as raw RGB files in the current folder
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The dialog box class and the control ids that MessageBox uses for its text.
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kMessageTextId = 0xFFFF;

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(),
                              static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                      &out[0], n, nullptr, nullptr);
  return out;
}

std::string Json(const std::wstring& wide) {
  std::string out = "\"";
  for (unsigned char c : Utf8(wide)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::wstring WindowText(HWND window) {
  // Bounded: a hung owner must not hang the harness.
  wchar_t buffer[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024,
                      reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  return buffer;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// Shows the folders as the setup program obtains them: GetTempPathA and the
// shell's special-folder look-up, in the ANSI code page.
int Folders() {
  char buffer[MAX_PATH + 2] = {};
  GetTempPathA(MAX_PATH, buffer);
  std::printf("temp=%s\n", buffer);
  const struct {
    const char* name;
    int csidl;
  } folders[] = {{"programfiles", CSIDL_PROGRAM_FILES},
                 {"programs", CSIDL_PROGRAMS},
                 {"sendto", CSIDL_SENDTO}};
  for (const auto& folder : folders) {
    char path[MAX_PATH + 2] = {};
    LPITEMIDLIST list = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, folder.csidl, &list) == S_OK) {
      SHGetPathFromIDListA(list, path);
      CoTaskMemFree(list);
    }
    std::printf("%s=%s\n", folder.name, path);
  }
  char cwd[MAX_PATH + 2] = {};
  GetCurrentDirectoryA(MAX_PATH, cwd);
  std::printf("cwd=%s\n", cwd);
  return 0;
}

struct Controls {
  std::vector<HWND> buttons;
  HWND icon = nullptr;
};

BOOL CALLBACK CollectControl(HWND child, LPARAM param) {
  auto* controls = reinterpret_cast<Controls*>(param);
  const std::wstring name = ClassOf(child);
  if (name == L"Button") controls->buttons.push_back(child);
  if (name == L"Static" &&
      (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
      IsWindowVisible(child)) {
    controls->icon = child;
  }
  return TRUE;
}

// Where the message box shows its icon, in screen pixels, or null when it
// shows none. Wine will not lend another process's icon handle, so the
// harness compares these pixels of a screenshot with the standard icons.
std::string IconRect(HWND icon) {
  // A box without an icon style may still have the control, holding none.
  DWORD_PTR handle = 0;
  if (icon)
    SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000,
                        &handle);
  RECT rect;
  if (!handle || !GetWindowRect(icon, &rect)) return "null";
  return "[" + std::to_string(rect.left) + ", " + std::to_string(rect.top) +
         ", " + std::to_string(rect.right - rect.left) + ", " +
         std::to_string(rect.bottom - rect.top) + "]";
}

BOOL CALLBACK PrintDialog(HWND window, LPARAM) {
  if (!IsWindowVisible(window) || ClassOf(window) != kDialogClass) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HWND text = GetDlgItem(window, kMessageTextId);
  Controls controls;
  EnumChildWindows(window, CollectControl, reinterpret_cast<LPARAM>(&controls));
  const std::vector<HWND>& buttons = controls.buttons;

  std::string line =
      "{\"hwnd\": " + std::to_string(reinterpret_cast<UINT_PTR>(window)) +
      ", \"pid\": " + std::to_string(pid) + ", \"xid\": " +
      std::to_string(reinterpret_cast<UINT_PTR>(
          GetPropW(window, L"__wine_x11_whole_window"))) +
      ", \"caption\": " + Json(WindowText(window)) +
      ", \"text\": " + Json(text ? WindowText(text) : L"") + ", \"buttons\": [";
  std::string default_button = "null";
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (i) line += ", ";
    line += Json(WindowText(buttons[i]));
    LONG style = GetWindowLongW(buttons[i], GWL_STYLE);
    if ((style & 0x0F) == BS_DEFPUSHBUTTON)
      default_button = Json(WindowText(buttons[i]));
  }
  line += "], \"default\": " + default_button +
          ", \"icon\": " + IconRect(controls.icon) + "}";
  std::printf("%s\n", line.c_str());
  return TRUE;
}

int Dialogs() {
  EnumWindows(PrintDialog, 0);
  return 0;
}

// Draws the four standard message box icons, each on a square of the given
// colour and size, as raw RGB files NAME.rgb in the current folder.
int Icons(int red, int green, int blue, int size) {
  const struct {
    const char* name;
    int id;  // IDI_QUESTION, IDI_INFORMATION, IDI_WARNING, IDI_ERROR
  } icons[] = {{"question", 32514},
               {"information", 32516},
               {"warning", 32515},
               {"error", 32513}};
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;  // top-down, as the screenshot
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC dc = CreateCompatibleDC(nullptr);
  for (const auto& icon : icons) {
    void* bits = nullptr;
    HBITMAP bitmap =
        CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return 1;
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(RGB(red, green, blue));
    RECT square = {0, 0, size, size};
    FillRect(dc, &square, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, LoadIconW(nullptr, MAKEINTRESOURCEW(icon.id)), size,
               size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::string file = std::string(icon.name) + ".rgb";
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return 1;
    const unsigned char* pixel = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < size * size; ++i, pixel += 4) {
      const unsigned char rgb[3] = {pixel[2], pixel[1], pixel[0]};
      std::fwrite(rgb, 1, 3, out);
    }
    std::fclose(out);
    SelectObject(dc, old);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
  return 0;
}

int Processes() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 1;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  const DWORD self = GetCurrentProcessId();
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == self) continue;
    std::printf("{\"pid\": %lu, \"exe\": %s}\n",
                static_cast<unsigned long>(entry.th32ProcessID),
                Json(entry.szExeFile).c_str());
  }
  CloseHandle(snapshot);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* command = argc > 1 ? argv[1] : "";
  int result = 2;
  if (std::strcmp(command, "folders") == 0) {
    result = Folders();
  } else if (std::strcmp(command, "dialogs") == 0) {
    result = Dialogs();
  } else if (std::strcmp(command, "processes") == 0) {
    result = Processes();
  } else if (std::strcmp(command, "icons") == 0 && argc == 6) {
    result = Icons(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                   std::atoi(argv[5]));
  } else {
    std::fprintf(
        stderr, "usage: winprobe folders|dialogs|processes|icons R G B SIZE\n");
  }
  std::fflush(stdout);
  return result;
}
