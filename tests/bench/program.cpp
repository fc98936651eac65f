#include "bench/program.h"

#include <shlwapi.h>

#include <vector>

#include "bench/test_env.h"

namespace bench {

namespace {

constexpr char kMainClass[] = "RI32Duver";
constexpr int kListId = 528;
constexpr int kStopPlayAllButton = 1521;

std::string Text(HWND window) {
  char text[2048] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return text;
}

struct DialogSearch {
  DWORD processId;
  HWND main;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->processId || window == search->main || !IsWindowVisible(window)) return TRUE;
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, "#32770") != 0) return TRUE;
  search->found = window;
  return FALSE;
}

void SendKey(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

}  // namespace

std::string ProgramPath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1) + "wendle.exe";
}

void ClearProgramSettings() {
  // RegOpenCurrentUser gives the user's own key, not this process's sandbox.
  HKEY user;
  if (RegOpenCurrentUser(KEY_ALL_ACCESS, &user) != ERROR_SUCCESS) return;
  SHDeleteKeyA(user, "Software\\Orvane Software");
  RegCloseKey(user);
}

Program::Program(const std::string& arguments, const std::string& folder, const std::string& program) {
  std::string commandLine = "\"" + (program.empty() ? ProgramPath() : program) + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  std::string directory = folder.empty() ? TempDir() : folder;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &startup,
                      &info))
    return;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
}

Program::Program(HANDLE process) : process_(process), processId_(process ? GetProcessId(process) : 0) {}

Program::~Program() {
  if (!process_) return;
  if (WaitForExit(0) == STILL_ACTIVE && window_ && IsWindow(window_)) {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    // A question about unsaved changes: No.
    for (int i = 0; i < 3 && WaitForExit(1000) == STILL_ACTIVE; ++i)
      if (HWND box = WaitForDialog(500)) PostMessageA(box, WM_COMMAND, IDNO, 0);
  }
  if (WaitForExit(5000) == STILL_ACTIVE) TerminateProcess(process_, 99);
  WaitForSingleObject(process_, 5000);
  CloseHandle(process_);
}

HWND Program::Window(DWORD timeoutMs) {
  if (window_ && IsWindow(window_)) return window_;
  WaitFor(
      [&] {
        for (HWND window = FindWindowExA(nullptr, nullptr, kMainClass, nullptr); window;
             window = FindWindowExA(nullptr, window, kMainClass, nullptr)) {
          DWORD process = 0;
          GetWindowThreadProcessId(window, &process);
          if (process == processId_ && IsWindowVisible(window)) {
            window_ = window;
            return true;
          }
        }
        return WaitForExit(0) != STILL_ACTIVE;
      },
      timeoutMs);
  if (window_) WaitForInputIdle(process_, 5000);
  return window_;
}

DWORD Program::WaitForExit(DWORD timeoutMs) {
  if (!process_) return 0;
  WaitForSingleObject(process_, timeoutMs);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_, &code);
  return code;
}

HWND Program::Child(int id) { return GetDlgItem(Window(), id); }
std::string Program::Title() { return Text(Window()); }
std::string Program::StatusText() { return Text(FindWindowExA(Window(), nullptr, "ovStatusBar", nullptr)); }
int Program::ListCount() { return static_cast<int>(SendMessageA(Child(kListId), LB_GETCOUNT, 0, 0)); }
int Program::ListSelection() { return static_cast<int>(SendMessageA(Child(kListId), LB_GETCURSEL, 0, 0)); }

bool Program::PlayAllRunning() { return IsWindowVisible(Child(kStopPlayAllButton)) != FALSE; }

void Program::BringToFront(HWND window) {
  SetForegroundWindow(window);
  WaitFor([&] { return GetForegroundWindow() == window; }, 2000);
}

void Program::Key(WORD virtualKey, bool control, bool alt) {
  if (GetAncestor(GetForegroundWindow(), GA_ROOTOWNER) != Window()) BringToFront(Window());
  if (control) SendKey(VK_CONTROL, false);
  if (alt) SendKey(VK_MENU, false);
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
  if (alt) SendKey(VK_MENU, true);
  if (control) SendKey(VK_CONTROL, true);
}

void Program::Click(HWND window, bool right, int x, int y) {
  RECT rect;
  GetWindowRect(window, &rect);
  POINT point = {x < 0 ? (rect.left + rect.right) / 2 : rect.left + x,
                 y < 0 ? (rect.top + rect.bottom) / 2 : rect.top + y};
  HWND root = GetAncestor(window, GA_ROOT);
  if (GetForegroundWindow() != root) BringToFront(root);
  SetCursorPos(point.x, point.y);
  // The move travels with the button presses: a press alone lands wherever
  // the cursor is when the input is handled, which the warp above may not
  // have reached yet.
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input[3] = {};
  input[0].type = input[1].type = input[2].type = INPUT_MOUSE;
  input[0].mi.dx = (point.x * 65536 + width - 1) / width;
  input[0].mi.dy = (point.y * 65536 + height - 1) / height;
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  input[2].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(3, input, sizeof input[0]);
}

void Program::Type(const std::string& text) {
  for (char c : text) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wScan = input[1].ki.wScan = static_cast<unsigned char>(c);
    input[0].ki.dwFlags = KEYEVENTF_UNICODE;
    input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
  }
}

void Program::TypeInto(HWND field, const std::string& text) {
  Click(field);
  // Home, then Shift+End selects the old text, which the typing replaces.
  SendKey(VK_HOME, false);
  SendKey(VK_HOME, true);
  SendKey(VK_SHIFT, false);
  SendKey(VK_END, false);
  SendKey(VK_END, true);
  SendKey(VK_SHIFT, true);
  if (text.empty()) {
    SendKey(VK_DELETE, false);
    SendKey(VK_DELETE, true);
  }
  Type(text);
}

HWND Program::WaitForDialog(DWORD timeoutMs) {
  DialogSearch search = {processId_, window_, nullptr};
  WaitFor(
      [&] {
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

std::string Program::DialogText(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") != 0) continue;
    std::string text = Text(child);
    if (!text.empty()) return text;
  }
  return std::string();
}

bool Program::PressButton(HWND dialog, int id) {
  // The keys of a message box's buttons, as a person presses them.
  WORD key = 0;
  switch (id) {
    case IDYES: key = 'Y'; break;
    case IDNO: key = 'N'; break;
    case IDCANCEL: key = VK_ESCAPE; break;
    case IDOK: key = VK_RETURN; break;
    default: break;
  }
  BringToFront(dialog);
  if (key) {
    SendKey(key, false);
    SendKey(key, true);
  } else {
    Click(GetDlgItem(dialog, id));
  }
  return WaitFor([&] { return !IsWindow(dialog); }, 5000);
}

}  // namespace bench
