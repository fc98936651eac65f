#include "dialog_driver.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string_view>
#include <vector>

#include "bench/canvas.h"
#include "bench/test_env.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "shell/list_view.h"
#include "settings/settings.h"
#include "settings/settings_record.h"
#include "playback/media_devices.h"

namespace dialogs_test {

namespace {

WNDPROC g_systemEditProc;

LRESULT CALLBACK PlainEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(g_systemEditProc, window, message, wParam, lParam);
}

// The dialog templates name "ovSEdit", the program's framed edit. Its
// frame does not matter here: a plain superclass of EDIT stands in for it
// unless the program's own class is registered. Like the program's, it is
// a Unicode class, so typed characters reach it whole.
void EnsureEditClass() {
  WNDCLASSW edit = {};
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoW(instance, L"ovSEdit", &edit)) return;
  if (!GetClassInfoW(nullptr, L"EDIT", &edit)) return;
  g_systemEditProc = edit.lpfnWndProc;
  edit.lpfnWndProc = PlainEditProc;
  edit.hInstance = instance;
  edit.lpszClassName = L"ovSEdit";
  RegisterClassW(&edit);
}

constexpr UINT_PTR kShownTimer = 0x5E80;
std::map<HWND, std::function<void(HWND)>> g_waitingActions;
std::map<HWND, ULONGLONG> g_waitingSince;

// A dialog is acted on as the user meets it: shown and active, so that its
// focus is where the user's keys go. Another test program's window may hold
// the foreground for a moment; after half a second the dialog is brought
// forward as a click on it would, and after two it is used as it is.
void CALLBACK RunWhenShown(HWND window, UINT, UINT_PTR id, DWORD) {
  if (!IsWindowVisible(window)) return;  // not yet: the timer goes on
  ULONGLONG now = GetTickCount64();
  auto since = g_waitingSince.emplace(window, now).first->second;
  if (GetActiveWindow() != window && now - since < 2000) {
    if (now - since >= 500) SetForegroundWindow(window);
    return;
  }
  KillTimer(window, id);
  g_waitingSince.erase(window);
  std::function<void(HWND)> action = std::move(g_waitingActions[window]);
  g_waitingActions.erase(window);
  action(window);
}

}  // namespace

void ActOnDialog(bench::ModalScript& modals, std::function<void(HWND)> action) {
  modals.Act([action](HWND window) {
    if (IsWindowVisible(window) && GetActiveWindow() == window) {
      action(window);
      return;
    }
    g_waitingActions[window] = action;
    SetTimer(window, kShownTimer, 10, RunWhenShown);
  });
}

std::string Dialog::Title() const { return bench::WindowText(window_); }

std::string Dialog::Text(int id) const { return bench::WindowText(Item(id)); }

int Dialog::Focused() const {
  HWND focus = GetFocus();
  // A drop-down list's own parts count as the list.
  while (focus && GetParent(focus) != window_) focus = GetParent(focus);
  return focus ? GetDlgCtrlID(focus) : 0;
}

int Dialog::LabelInk(int id) const {
  HWND control = Item(id);
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT client;
  GetClientRect(control, &client);
  constexpr int kBoxWidth = 20;  // the box or circle and the gap after it
  int width = client.right - kBoxWidth, height = client.bottom;
  if (width <= 0 || height <= 0) return 0;
  bench::Canvas copy(width, height);
  HDC screen = GetDC(control);
  BitBlt(copy.dc(), 0, 0, width, height, screen, kBoxWidth, 0, SRCCOPY);
  ReleaseDC(control, screen);
  // Ink: at least a tenth of the range away from the grey in some channel.
  constexpr int kGrey = 192, kContrast = 26;
  int ink = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      COLORREF pixel = copy.At(x, y);
      if (abs(GetRValue(pixel) - kGrey) >= kContrast || abs(GetGValue(pixel) - kGrey) >= kContrast ||
          abs(GetBValue(pixel) - kGrey) >= kContrast)
        ++ink;
    }
  return ink;
}

void Dialog::Type(int id, const std::string& text) const {
  HWND field = Item(id);
  if (!IsWindowVisible(field) || !IsWindowEnabled(field)) {
    ADD_FAILURE() << "typing into control " << id << ", which cannot be used";
    return;
  }
  SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  SendMessageA(field, EM_SETSEL, 0, -1);
  if (text.empty()) SendMessageA(field, WM_CHAR, VK_BACK, 1);
  // The text is UTF-8: each UTF-16 unit is one WM_CHAR, as the keyboard
  // gives them to a Unicode control.
  std::wstring wide(text.size(), L'\0');
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                   static_cast<int>(wide.size()));
  for (int i = 0; i < length; ++i) SendMessageW(field, WM_CHAR, wide[static_cast<size_t>(i)], 1);
}

void Dialog::Paste(int id, const std::string& text) const {
  SendMessageA(Item(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

bool Dialog::Click(int id) const {
  HWND control = Item(id);
  if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
  SendMessageA(control, BM_CLICK, 0, 0);
  return true;
}

void Dialog::Key(int id, UINT virtualKey) const {
  SendMessageA(Item(id), WM_KEYDOWN, virtualKey, 1);
  SendMessageA(Item(id), WM_KEYUP, virtualKey, 0xC0000001);
}

void Dialog::DoubleClickEntry(int listId, int index) const {
  HWND list = Item(listId);
  RECT item;
  if (SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
    ADD_FAILURE() << "no entry " << index;
    return;
  }
  LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageA(list, WM_LBUTTONUP, 0, point);
  SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
  SendMessageA(list, WM_LBUTTONUP, 0, point);
}

void Dialog::ChooseLetter(int comboId, char letter) const {
  HWND combo = Item(comboId);
  SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), TRUE);
  SendMessageA(combo, WM_CHAR, static_cast<unsigned char>(letter), 1);
}

ObjectValues ObjectValuesAt(int index) {
  ObjectValues values;
  LockedBlock<SoundObject> record(MainView().list().At(index));
  if (!record) return values;
  values.exists = true;
  values.flags = record->flags;
  char text[1024];
  values.hasDescription = CopyTextBlock(record->description, text, sizeof text);
  if (values.hasDescription) values.description = text;
  values.hasFileName = CopyTextBlock(record->fileName, text, sizeof text);
  if (values.hasFileName) values.fileName = text;
  values.trackNumber = record->trackNumber;
  values.repeatCount = record->repeatCount;
  values.postDelay = record->postDelay;
  return values;
}

int AppendObject(uint32_t kind, const char* description, const char* fileName, uint32_t track, uint32_t repeats,
                 uint32_t delay) {
  SoundObjectHandle handle = AllocSoundObject();
  SoundObject values = {};
  values.flags = kind;
  values.trackNumber = static_cast<uint8_t>(track);
  values.repeatCount = repeats;
  values.postDelay = delay;
  std::string_view descriptionText(description ? description : "");
  std::string_view fileNameText(fileName ? fileName : "");
  if (!StoreSoundObject(handle, values, description ? &descriptionText : nullptr, fileName ? &fileNameText : nullptr))
    return -1;
  return MainView().list().Insert(-1, handle);
}

void DialogTest::SetUp() {
  EnsureEditClass();
  bench::ClearRegistry();
  LoadSettings();
  g_settings.insertionMethod = InsertAppend;
  g_mediaCaps = WaveAudio | MidiAudio | AviVideo | CdAudio;
  g_cdTrackCount = 0;
}

void DialogTest::TearDown() { bench::ClearRegistry(); }

bool DialogTest::WaitForModals(const bench::ModalScript& modals) {
  return bench::PumpUntil([&modals] {
    return modals.Pending() == 0 && (modals.Records().empty() || !IsWindow(modals.Records().back().window));
  });
}

const bench::ModalRecord& DialogTest::RecordAt(const bench::ModalScript& modals, size_t n) {
  static const bench::ModalRecord none;
  return n < modals.Records().size() ? modals.Records()[n] : none;
}

}  // namespace dialogs_test
