// VA32RA.dll: ordinal-only exports, the "ovSpin" and "ovStatusBar"
// classes, and the five operations driving real windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/test_env.h"
#include "resources/ids.h"
#include "support/control_library.h"

namespace {

HMODULE ControlLibraryModule() {
  static HMODULE module = LoadLibraryA("VA32RA.dll");
  return module;
}

std::string StatusText(HWND bar) {
  char text[1024] = "";
  LRESULT result = SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0);
  if (LOWORD(result) >= sizeof text) return "<too long>";
  SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

int WindowHeight(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect.bottom - rect.top;
}

// A plain top-level window that owns the controls of one test.
class ControlTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ControlLibraryModule(), nullptr);
    parent_ = CreateWindowExA(0, "STATIC", "controls", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    // Shown without activation: Wine (with no window manager) takes two
    // seconds to destroy an active top-level window.
    ShowWindow(parent_, SW_SHOWNOACTIVATE);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
  }

  HWND Child(LPCSTR cls, DWORD style, int x, int y, int w, int h, int id) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  }

  HWND parent_ = nullptr;
};

TEST(ControlLibraryExports, EveryOperationByOrdinalAndNoneByName) {
  HMODULE module = ControlLibraryModule();
  ASSERT_NE(module, nullptr);
  for (int ordinal :
       {ORD_SPIN_ATTACH_BUDDY, ORD_SPIN_SET_RANGE, ORD_SPIN_SET_POS, ORD_STATUS_BAR_INIT, ORD_STATUS_BAR_SET_TEXT}) {
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(ordinal)), nullptr) << "ordinal " << ordinal;
  }
  for (const char* name : {"SpinAttachBuddy", "SpinSetRange", "SpinSetPos", "StatusBarInit", "StatusBarSetText",
                           "SpinAttachBuddy@8", "StatusBarSetText@8", "DllMain"}) {
    EXPECT_EQ(GetProcAddress(module, name), nullptr) << name;
  }
}

TEST(ControlLibraryClasses, RegisteredGloballyWhenLoaded) {
  HMODULE module = ControlLibraryModule();
  ASSERT_NE(module, nullptr);
  for (const char* name : {SPIN_CLASS, STATUS_BAR_CLASS}) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(module, name, &wc)) << name;
    EXPECT_TRUE(wc.style & CS_GLOBALCLASS) << name;
    // Global: found whatever instance asks, as dialog templates of the
    // program (another module) need.
    WNDCLASSEXA other = {};
    other.cbSize = sizeof other;
    EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), name, &other)) << name;
  }
}

TEST_F(ControlTest, NewControlsGetTheirWorkingStyles) {
  HWND spin = Child(SPIN_CLASS, 0, 90, 10, 16, 20, IDC_SPIN_DELAY);
  ASSERT_NE(spin, nullptr);
  LONG_PTR style = GetWindowLongPtrA(spin, GWL_STYLE);
  EXPECT_TRUE(style & UDS_ARROWKEYS);
  EXPECT_TRUE(style & UDS_SETBUDDYINT);
  EXPECT_TRUE(style & UDS_NOTHOUSANDS);
  EXPECT_TRUE(style & WS_VISIBLE);

  HWND bar = Child(STATUS_BAR_CLASS, WS_BORDER, 0, 0, 50, 10, 0);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(GetWindowLongPtrA(bar, GWL_STYLE) & CCS_NORESIZE);
  EXPECT_TRUE(GetWindowLongPtrA(bar, GWL_STYLE) & WS_BORDER);
}

TEST_F(ControlTest, SpinShowsItsPositionInTheBuddyEdit) {
  HWND edit = Child("EDIT", WS_BORDER, 10, 10, 80, 20, IDC_PLAY_LIST_COUNT);
  HWND spin = Child(SPIN_CLASS, 0, 90, 10, 16, 20, IDC_SPIN_COUNT);
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(spin, nullptr);

  EXPECT_TRUE(SpinAttachBuddy(spin, edit));
  EXPECT_TRUE(SpinSetRange(spin, 1, 99999));
  EXPECT_TRUE(SpinSetPos(spin, 12345));

  // A plain decimal number: GetDlgItemInt must read it back.
  EXPECT_EQ(bench::WindowText(edit), "12345");
  BOOL ok = FALSE;
  EXPECT_EQ(GetDlgItemInt(parent_, IDC_PLAY_LIST_COUNT, &ok, FALSE), 12345u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)), edit);
  EXPECT_EQ(SendMessageA(spin, UDM_GETPOS32, 0, 0), 12345);
  int low = -1, high = -1;
  SendMessageA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 99999);

  EXPECT_TRUE(SpinSetPos(spin, 0));
  EXPECT_EQ(bench::WindowText(edit), "1");  // kept inside the range
}

TEST_F(ControlTest, ArrowKeysStepTheEditsNumberWithinTheRange) {
  HWND edit = Child("EDIT", WS_BORDER, 10, 10, 80, 20, IDC_PAUSE_DURATION);
  HWND spin = Child(SPIN_CLASS, 0, 90, 10, 16, 20, IDC_SPIN_PAUSE);
  ASSERT_TRUE(SpinAttachBuddy(spin, edit));
  SpinSetRange(spin, 0, 10);
  SpinSetPos(spin, 4);

  SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(bench::WindowText(edit), "5");
  SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(bench::WindowText(edit), "3");
  EXPECT_EQ(SendMessageA(spin, UDM_GETPOS32, 0, 0), 3);

  // A number the user typed is where the next step starts.
  SetWindowTextA(edit, "9");
  SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(bench::WindowText(edit), "10");
  SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(bench::WindowText(edit), "10");  // the top of the range holds
}

TEST_F(ControlTest, OperationsRefuseWindowsThatAreGone) {
  HWND edit = Child("EDIT", 0, 0, 0, 10, 10, 1);
  HWND spin = Child(SPIN_CLASS, 0, 0, 0, 10, 10, 2);
  HWND bar = Child(STATUS_BAR_CLASS, 0, 0, 0, 10, 10, 3);
  DestroyWindow(edit);
  EXPECT_FALSE(SpinAttachBuddy(spin, edit));
  DestroyWindow(spin);
  DestroyWindow(bar);
  EXPECT_FALSE(SpinAttachBuddy(spin, nullptr));
  EXPECT_FALSE(SpinSetRange(spin, 0, 1));
  EXPECT_FALSE(SpinSetPos(spin, 0));
  EXPECT_FALSE(StatusBarInit(bar));
  EXPECT_FALSE(StatusBarSetText(bar, "x"));
}

TEST_F(ControlTest, StatusBarFitsItsFontAndStaysWhereItsOwnerPutsIt) {
  HWND bar = Child(STATUS_BAR_CLASS, WS_BORDER, 0, 0, 50, 10, 0);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(StatusBarInit(bar));

  TEXTMETRICA tm = {};
  HDC dc = GetDC(bar);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0)));
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(bar, dc);
  RECT client;
  GetClientRect(bar, &client);
  EXPECT_GE(client.bottom, tm.tmHeight);
  EXPECT_LT(client.bottom, 3 * tm.tmHeight);
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 1);
  EXPECT_EQ(StatusText(bar), "");

  // The owner lays the bar out as its client height plus one border pixel
  // on each side, with the side borders outside its own client area, on
  // every resize: the height must hold, and the bar must stay put.
  int height = WindowHeight(bar);
  EXPECT_EQ(height, client.bottom + 2);
  RECT owner;
  for (int size : {350, 300}) {
    SetWindowPos(parent_, nullptr, 0, 0, size + 150, size, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(parent_, &owner);
    GetClientRect(bar, &client);
    SetWindowPos(bar, nullptr, -1, owner.bottom - client.bottom - 1, owner.right + 2, client.bottom + 2, SWP_NOZORDER);
  }
  SetWindowPos(parent_, nullptr, 0, 0, 520, 360, SWP_NOMOVE | SWP_NOZORDER);
  RECT placed;
  GetWindowRect(bar, &placed);
  MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, -1);
  EXPECT_EQ(placed.right - placed.left, owner.right + 2);
  EXPECT_EQ(placed.bottom - placed.top, height);
}

TEST_F(ControlTest, StatusBarShowsTextsWhole) {
  HWND bar = Child(STATUS_BAR_CLASS, WS_BORDER, 0, 270, 400, 20, 0);
  ASSERT_TRUE(StatusBarInit(bar));

  EXPECT_TRUE(StatusBarSetText(bar, "Ready"));
  EXPECT_EQ(StatusText(bar), "Ready");
  EXPECT_EQ(bench::WindowText(bar), "Ready");

  std::string longest(511, 'x');
  longest[0] = 'A';
  longest[510] = 'Z';
  EXPECT_TRUE(StatusBarSetText(bar, longest.c_str()));
  EXPECT_EQ(StatusText(bar), longest);

  std::string tooLong(700, 'y');
  EXPECT_TRUE(StatusBarSetText(bar, tooLong.c_str()));
  EXPECT_EQ(StatusText(bar), std::string(511, 'y'));

  EXPECT_TRUE(StatusBarSetText(bar, nullptr));
  EXPECT_EQ(StatusText(bar), "");

  // Setting the text it already shows is accepted too.
  EXPECT_TRUE(StatusBarSetText(bar, "Ready"));
  EXPECT_TRUE(StatusBarSetText(bar, "Ready"));
  EXPECT_EQ(StatusText(bar), "Ready");
}

// What the system status bar itself holds, bypassing "ovStatusBar".
std::string SystemControlText(HWND bar) {
  WNDCLASSEXA system = {};
  system.cbSize = sizeof system;
  if (!GetClassInfoExA(nullptr, STATUSCLASSNAMEA, &system)) return "<no class>";
  char text[600] = "";
  CallWindowProcA(system.lpfnWndProc, bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(ControlTest, StatusBarPaintsTheLastOfManyTextsWhenMessagesRun) {
  HWND bar = Child(STATUS_BAR_CLASS, WS_BORDER, 0, 270, 400, 20, 0);
  ASSERT_TRUE(StatusBarInit(bar));
  bench::PumpMessages();

  char progress[40];
  for (int i = 1; i <= 2000; ++i) {
    snprintf(progress, sizeof progress, "%d items read", i);
    ASSERT_TRUE(StatusBarSetText(bar, progress));
  }
  RECT dirty;
  EXPECT_TRUE(GetUpdateRect(bar, &dirty, FALSE));  // due to paint
  bench::PumpMessages();
  EXPECT_FALSE(GetUpdateRect(bar, &dirty, FALSE));
  EXPECT_EQ(SystemControlText(bar), "2000 items read");

  // A text set straight on the control replaces a stored one.
  StatusBarSetText(bar, "stored");
  SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("direct"));
  bench::PumpMessages();
  EXPECT_EQ(StatusText(bar), "direct");
  EXPECT_TRUE(StatusBarSetText(bar, "stored"));  // not mistaken for shown
  EXPECT_EQ(StatusText(bar), "stored");
}

struct WorkerText {
  HWND bar;
  BOOL result;
};

DWORD WINAPI SetTextFromWorker(LPVOID param) {
  WorkerText* work = static_cast<WorkerText*>(param);
  work->result = StatusBarSetText(work->bar, "Pass 2 of 3");
  return 0;
}

TEST_F(ControlTest, StatusBarTakesTextsFromAnotherThread) {
  HWND bar = Child(STATUS_BAR_CLASS, WS_BORDER, 0, 270, 400, 20, 0);
  ASSERT_TRUE(StatusBarInit(bar));
  WorkerText work = {bar, FALSE};
  HANDLE worker = CreateThread(nullptr, 0, SetTextFromWorker, &work, 0, nullptr);
  ASSERT_NE(worker, nullptr);
  EXPECT_TRUE(bench::PumpUntil([&] { return WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }));
  CloseHandle(worker);
  EXPECT_TRUE(work.result);
  EXPECT_EQ(StatusText(bar), "Pass 2 of 3");
}

// An in-memory dialog template, as resource scripts produce: an edit and
// an "ovSpin" that picks the edit as its buddy through its template styles.
class DialogTemplate {
 public:
  DialogTemplate() {
    DLGTEMPLATE head = {};
    head.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    head.cdit = 2;
    head.cx = 120;
    head.cy = 60;
    Append(&head, sizeof head);
    Word(0);  // no menu
    Word(0);  // standard dialog class
    Text("Count");
    Item(ES_NUMBER | WS_BORDER | WS_TABSTOP, 10, 10, 40, 12, IDC_PLAY_LIST_COUNT, "EDIT");
    Item(UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 8, 12, IDC_SPIN_COUNT, SPIN_CLASS);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void Append(const void* data, size_t size) {
    const BYTE* p = static_cast<const BYTE*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
  }
  void Word(WORD w) { Append(&w, sizeof w); }
  void Text(const char* text) {
    for (; *text; ++text) Word(static_cast<WORD>(static_cast<unsigned char>(*text)));
    Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, const char* cls) {
    while (bytes_.size() % 4) bytes_.push_back(0);
    DLGITEMTEMPLATE item = {};
    item.style = WS_CHILD | WS_VISIBLE | style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    Append(&item, sizeof item);
    Text(cls);
    Text("");
    Word(0);  // no creation data
  }
  std::vector<BYTE> bytes_;
};

struct DialogResult {
  bool spinIsOurs = false;
  HWND autoBuddy = nullptr;
  HWND edit = nullptr;
  std::string shown;
  std::string stepped;
};

INT_PTR CALLBACK SpinDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  DialogResult* result = reinterpret_cast<DialogResult*>(lParam);
  HWND spin = GetDlgItem(dialog, IDC_SPIN_COUNT);
  HWND edit = GetDlgItem(dialog, IDC_PLAY_LIST_COUNT);
  char cls[32] = "";
  GetClassNameA(spin, cls, sizeof cls);
  result->spinIsOurs = lstrcmpiA(cls, SPIN_CLASS) == 0;
  result->edit = edit;
  result->autoBuddy = reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0));
  SpinAttachBuddy(spin, edit);
  SpinSetRange(spin, 0, 500);
  SpinSetPos(spin, 250);
  result->shown = bench::WindowText(edit);
  SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
  result->stepped = bench::WindowText(edit);
  EndDialog(dialog, IDOK);
  return TRUE;
}

TEST(ControlLibraryDialogs, TemplatesOfTheProgramCanUseTheSpin) {
  ASSERT_NE(ControlLibraryModule(), nullptr);
  DialogTemplate dlg;
  DialogResult result;
  INT_PTR ended = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dlg.Get(), nullptr, SpinDialogProc,
                                          reinterpret_cast<LPARAM>(&result));
  ASSERT_EQ(ended, IDOK);
  EXPECT_TRUE(result.spinIsOurs);
  EXPECT_EQ(result.autoBuddy, result.edit);  // template styles took effect
  EXPECT_EQ(result.shown, "250");
  EXPECT_EQ(result.stepped, "251");
}

}  // namespace
