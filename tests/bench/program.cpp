#include "bench/program.h"
#include "bench/list_host.h"

#include <dlgs.h>
#include <shlwapi.h>

#include <vector>

#include "bench/test_env.h"

namespace bench {

namespace {

constexpr char kMainClass[] = "RI32Duver";
constexpr int kListId = 528;
constexpr int kKindListId = 1000;
constexpr int kStopPlayAllButton = 1521;

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                   static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return wide;
}

std::string Text(HWND window) {
  char text[2048] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

struct DialogSearch {
  DWORD processId;
  HWND main;
  HWND other;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->processId || window == search->main || window == search->other || !IsWindowVisible(window))
    return TRUE;
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, "#32770") != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// The pointer where no window of the program lies: a menu that drops
// down under a pointer left there by an earlier click takes the item under
// it as the highlighted one, as it would for a person's resting mouse.
void ParkPointer() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); }

void SendKey(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

}  // namespace

HWND FileNameField(HWND fileDialog) {
  HWND combo = GetDlgItem(fileDialog, cmb13);
  return combo ? combo : GetDlgItem(fileDialog, edt1);
}

std::string ProgramPath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1) + "wendle.exe";
}

void ProgramTestBase::SetUp() {
  ClearProgramSettings();
  if (SoundSinkPath().empty()) GTEST_SKIP() << "no sound sink configured";
}

void ProgramTestBase::TearDown() { ClearProgramSettings(); }

void ClearProgramSettings() {
  // RegOpenCurrentUser gives the user's own key, not this process's sandbox.
  HKEY user;
  if (RegOpenCurrentUser(KEY_ALL_ACCESS, &user) != ERROR_SUCCESS) return;
  SHDeleteKeyA(user, "Software\\Orvane Software");
  RegCloseKey(user);
}

namespace {

void WriteProgramValue(const std::string& value, DWORD type, const void* data, DWORD size) {
  HKEY user, key;
  if (RegOpenCurrentUser(KEY_ALL_ACCESS, &user) != ERROR_SUCCESS) return;
  if (RegCreateKeyExA(user, "Software\\Orvane Software\\Wendle\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(key, value.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  RegCloseKey(user);
}

}  // namespace

void WriteProgramSetting(const std::string& value, const std::string& text) {
  WriteProgramValue(value, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void WriteProgramSetting(const std::string& value, DWORD number) {
  WriteProgramValue(value, REG_DWORD, &number, sizeof number);
}

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kLogPixels[] = "LogPixels";

}  // namespace

ProgramDpi::ProgramDpi(DWORD dpi) {
  HKEY user, key;
  if (RegOpenCurrentUser(KEY_ALL_ACCESS, &user) != ERROR_SUCCESS) return;
  if (RegCreateKeyExA(user, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    DWORD size = sizeof oldValue_, type = 0;
    hadValue_ = RegQueryValueExA(key, kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&oldValue_), &size) ==
                    ERROR_SUCCESS &&
                type == REG_DWORD;
    RegSetValueExA(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    RegCloseKey(key);
  }
  RegCloseKey(user);
}

ProgramDpi::~ProgramDpi() {
  HKEY user, key;
  if (RegOpenCurrentUser(KEY_ALL_ACCESS, &user) != ERROR_SUCCESS) return;
  if (RegOpenKeyExA(user, kDesktopKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    if (hadValue_)
      RegSetValueExA(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&oldValue_), sizeof oldValue_);
    else
      RegDeleteValueA(key, kLogPixels);
    RegCloseKey(key);
  }
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
  ParkPointer();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &startup, &info))
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
      if (HWND box = AnyDialog()) PostMessageA(box, WM_COMMAND, IDNO, 0);
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
std::wstring WideWindowText(HWND window) {
  wchar_t text[2048] = L"";
  SendMessageTimeoutW(window, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

std::wstring WideListText(HWND list, int index) {
  LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length > 2047) return L"<no text>";
  wchar_t text[2048] = L"";
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

int Program::ListCount() { return static_cast<int>(SendMessageA(Child(kListId), LB_GETCOUNT, 0, 0)); }
int Program::ListSelection() { return SelectedRow(Child(kListId)); }

bool Program::PlayAllRunning() { return IsWindowVisible(Child(kStopPlayAllButton)) != FALSE; }

GUITHREADINFO Program::ThreadInfo() {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  DWORD thread = Window() ? GetWindowThreadProcessId(Window(), nullptr) : 0;
  if (!thread || !GetGUIThreadInfo(thread, &info)) info = GUITHREADINFO{};
  return info;
}

HWND Program::Focus() { return ThreadInfo().hwndFocus; }

bool Program::Activate(HWND window, DWORD timeoutMs) {
  ULONGLONG broughtAt = 0;
  return WaitFor(
      [&] {
        if (!IsWindow(window) || !IsWindowVisible(window)) return false;
        GUITHREADINFO info = ThreadInfo();
        bool active = info.hwndActive == window && GetForegroundWindow() == window &&
                      (info.hwndFocus == window || IsChild(window, info.hwndFocus));
        if (active) return true;
        // Another program's window in front: bring this one forward, and
        // again now and then, as a person would click on it.
        ULONGLONG now = GetTickCount64();
        if (GetAncestor(GetForegroundWindow(), GA_ROOTOWNER) != Window() && now - broughtAt > 1000) {
          SetForegroundWindow(window);
          broughtAt = now;
        }
        return false;
      },
      timeoutMs);
}

void Program::Key(WORD virtualKey, bool control, bool alt, bool shift) {
  KeyIn(Window(), virtualKey, control, alt, shift);
}

void Program::KeyIn(HWND window, WORD virtualKey, bool control, bool alt, bool shift) {
  Activate(window);
  if (alt && !control) ParkPointer();  // a menu's access key
  if (control) SendKey(VK_CONTROL, false);
  if (alt) SendKey(VK_MENU, false);
  if (shift) SendKey(VK_SHIFT, false);
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
  if (shift) SendKey(VK_SHIFT, true);
  if (alt) SendKey(VK_MENU, true);
  if (control) SendKey(VK_CONTROL, true);
}

void Program::ShiftKey(WORD virtualKey) {
  Activate(Window());
  SendKey(VK_SHIFT, false);
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
  SendKey(VK_SHIFT, true);
}

void Program::Click(HWND window, bool right, int x, int y) {
  Activate(GetAncestor(window, GA_ROOT));
  RECT rect;
  GetWindowRect(window, &rect);
  POINT point = {x < 0 ? (rect.left + rect.right) / 2 : rect.left + x,
                 y < 0 ? (rect.top + rect.bottom) / 2 : rect.top + y};
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

testing::AssertionResult Program::SaveAsByKeys(const std::string& name, HWND* dialog) {
  Key('F', false, true);  // File > Save As
  Key('A');
  HWND save = WaitForDialog();
  if (dialog) *dialog = save;
  if (!save) return testing::AssertionFailure() << "no Save As dialog; " << Describe();
  testing::AssertionResult typed = TypeInto(FileNameField(save), name);
  if (!typed) return typed;
  KeyIn(save, VK_RETURN);
  return testing::AssertionSuccess();
}

bool Program::ClickUntil(HWND window, const std::function<bool()>& done) {
  for (int tries = 0; tries < 3; ++tries) {
    Click(window);
    if (WaitFor(done, 3000)) return true;
  }
  return false;
}

void Program::Type(const std::string& text) {
  // The text is UTF-8; each UTF-16 unit goes in as a key of its own (a
  // character outside the BMP as its two surrogates).
  std::wstring wide = Widen(text);
  for (wchar_t c : wide) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wScan = input[1].ki.wScan = static_cast<WORD>(c);
    input[0].ki.dwFlags = KEYEVENTF_UNICODE;
    input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
  }
}

namespace {

struct FieldTexts {
  HWND field;
  std::vector<std::pair<HWND, std::string>> others;
};

BOOL CALLBACK KeepFieldText(HWND window, LPARAM data) {
  auto* texts = reinterpret_cast<FieldTexts*>(data);
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  if (window != texts->field && StrStrIA(name, "Edit")) texts->others.emplace_back(window, Text(window));
  return TRUE;
}

// The other fields of the field's window, as they were before the typing.
FieldTexts OtherFields(HWND field) {
  FieldTexts texts = {field, {}};
  EnumChildWindows(GetAncestor(field, GA_ROOT), KeepFieldText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

// Keys that went astray, when the focus moved on after it had reached the
// field (under Wine the window system's activation can arrive late), are
// taken back out of the fields they reached, as a person would.
void RestoreOtherFields(const FieldTexts& texts) {
  for (const auto& [window, before] : texts.others)
    if (IsWindow(window) && Text(window) != before)
      SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(before).c_str()));
}

}  // namespace

testing::AssertionResult Program::TypeInto(HWND field, const std::string& text) {
  const FieldTexts before = OtherFields(field);
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) RestoreOtherFields(before);
    Click(field);
    if (!WaitFor([&] { return Focus() == field || IsChild(field, Focus()); }, 5000)) continue;
    // Home, then Shift+End selects the old text, which the typing replaces.
    SendKey(VK_HOME, false);
    SendKey(VK_HOME, true);
    SendKey(VK_SHIFT, false);
    SendKey(VK_END, false);
    SendKey(VK_END, true);
    SendKey(VK_SHIFT, true);
    SendKey(VK_DELETE, false);
    SendKey(VK_DELETE, true);
    Type(text);
    if (WaitFor([&] { return Text(field) == text; }, 5000)) return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "the field holds \"" << Text(field) << "\", not \"" << text << "\"; "
                                     << Describe();
}

HWND Program::AnyDialog(HWND other) {
  DialogSearch search = {processId_, window_, other, nullptr};
  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Program::WaitForDialog(DWORD timeoutMs, HWND other) {
  HWND found = nullptr;
  WaitFor([&] { return (found = AnyDialog(other)) != nullptr; }, timeoutMs);
  // Acted on only once it is shown and active, as a person meets it.
  if (found && !Activate(found, timeoutMs)) return nullptr;
  return found;
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
  // A lone Alt left the window's menu mode on (under Wine a hot key with
  // Alt can leave the Alt key's release to the window): a person closes
  // the menu before pressing a button, and so does this.
  Activate(dialog);
  for (int i = 0; i < 3 && (ThreadInfo().flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE | GUI_POPUPMENUMODE)); ++i) {
    SendKey(VK_ESCAPE, false);
    SendKey(VK_ESCAPE, true);
    WaitFor([&] { return !(ThreadInfo().flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE | GUI_POPUPMENUMODE)); }, 1000);
  }
  // The keys of a message box's buttons, as a person presses them.
  WORD key = 0;
  switch (id) {
    case IDYES:
      key = 'Y';
      break;
    case IDNO:
      key = 'N';
      break;
    case IDCANCEL:
      key = VK_ESCAPE;
      break;
    case IDOK:
      key = VK_RETURN;
      break;
    default:
      break;
  }
  if (key)
    KeyIn(dialog, key);
  else
    Click(GetDlgItem(dialog, id));
  return WaitFor([&] { return !IsWindow(dialog); }, 15000);
}

HWND Program::OpenAddDialogOfKind(int kindCommand) {
  Key(VK_F4);
  HWND add = WaitForDialog();
  if (!add) return nullptr;
  // Each entry of the list of kinds carries its command in its data's low word.
  HWND kinds = GetDlgItem(add, kKindListId);
  int count = static_cast<int>(SendMessageA(kinds, LB_GETCOUNT, 0, 0));
  int target = -1;
  for (int i = 0; i < count && target < 0; ++i)
    if (LOWORD(SendMessageA(kinds, LB_GETITEMDATA, i, 0)) == kindCommand) target = i;
  if (target < 0 || !WaitFor([&] { return SendMessageA(kinds, LB_GETCURSEL, 0, 0) == 0; })) return nullptr;
  for (int i = 1; i <= target; ++i) {
    KeyIn(add, VK_DOWN);
    if (!WaitFor([&] { return SendMessageA(kinds, LB_GETCURSEL, 0, 0) == i; })) return nullptr;
  }
  KeyIn(add, VK_RETURN);
  return WaitForDialog(15000, add);
}

namespace {

struct WindowList {
  DWORD processId;
  std::string text;
};

std::string Name(HWND window) {
  if (!window) return "(none)";
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return std::string(name) + " #" + std::to_string(GetDlgCtrlID(window)) + " \"" + Text(window) + "\"";
}

BOOL CALLBACK ListWindow(HWND window, LPARAM data) {
  auto* list = reinterpret_cast<WindowList*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == list->processId && IsWindowVisible(window)) list->text += " [" + Name(window) + "]";
  return TRUE;
}

}  // namespace

std::string Program::Describe() {
  WindowList list = {processId_, "windows:"};
  EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&list));
  GUITHREADINFO info = ThreadInfo();
  return list.text + "; foreground: " + Name(GetForegroundWindow()) + "; active: " + Name(info.hwndActive) +
         "; focus: " + Name(info.hwndFocus);
}

}  // namespace bench
