#include "bench/modal_script.h"

#include "bench/test_env.h"

#include <dlgs.h>

#include <algorithm>
#include <cstring>

namespace bench {

namespace {

thread_local ModalScript* g_script = nullptr;

constexpr UINT_PTR kAnswerTimer = 0x5E71;
constexpr UINT_PTR kWatchdogTimer = 0x5E72;
constexpr UINT kWatchdogMs = 10000;

bool IsVisibleButton(HWND child, int* id) {
  if (ClassName(child) != "Button" && ClassName(child) != "BUTTON") return false;
  if (!IsWindowVisible(child)) return false;
  *id = GetDlgCtrlID(child);
  return *id >= IDOK && *id <= IDNO;
}

// Cancels a dialog whatever its buttons: Cancel, else No, else OK, else close.
void Dismiss(HWND dialog) {
  for (int id : {IDCANCEL, IDNO, IDOK}) {
    HWND button = GetDlgItem(dialog, id);
    if (button && IsWindowVisible(button)) {
      ClickButton(dialog, id);
      return;
    }
  }
  PostMessageA(dialog, WM_CLOSE, 0, 0);
}

bool IsFileDialog(HWND dialog) { return GetDlgItem(dialog, cmb13) || GetDlgItem(dialog, edt1); }

}  // namespace

void ClickButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ReadMessageBox(HWND box, ModalRecord* record) {
  record->isMessageBox = true;
  std::vector<std::pair<int, HWND>> buttons;  // (x, window)
  HICON icon = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    int id = 0;
    if (IsVisibleButton(child, &id)) {
      RECT r;
      GetWindowRect(child, &r);
      buttons.emplace_back(r.left, child);
      continue;
    }
    std::string cls = ClassName(child);
    if (cls != "Static" && cls != "STATIC") continue;
    LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
      icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    } else if (record->text.empty()) {
      record->text = WindowText(child);
    }
  }
  std::sort(buttons.begin(), buttons.end(),
            [](const std::pair<int, HWND>& a, const std::pair<int, HWND>& b) { return a.first < b.first; });

  unsigned mask = 0;
  int defaultIndex = 0;
  for (size_t i = 0; i < buttons.size(); ++i) {
    mask |= 1u << GetDlgCtrlID(buttons[i].second);
    if ((GetWindowLongPtrA(buttons[i].second, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      defaultIndex = static_cast<int>(i);
  }
  UINT style = MB_OK;
  const unsigned yes = 1u << IDYES, no = 1u << IDNO, cancel = 1u << IDCANCEL, ok = 1u << IDOK;
  if (mask == (yes | no | cancel))
    style = MB_YESNOCANCEL;
  else if (mask == (yes | no))
    style = MB_YESNO;
  else if (mask == (ok | cancel))
    style = MB_OKCANCEL;
  else if (mask == ((1u << IDABORT) | (1u << IDRETRY) | (1u << IDIGNORE)))
    style = MB_ABORTRETRYIGNORE;
  else if (mask == ((1u << IDRETRY) | cancel))
    style = MB_RETRYCANCEL;

  if (icon) {
    if (icon == LoadIconA(nullptr, IDI_HAND))
      style |= MB_ICONHAND;
    else if (icon == LoadIconA(nullptr, IDI_QUESTION))
      style |= MB_ICONQUESTION;
    else if (icon == LoadIconA(nullptr, IDI_EXCLAMATION))
      style |= MB_ICONEXCLAMATION;
    else if (icon == LoadIconA(nullptr, IDI_ASTERISK))
      style |= MB_ICONASTERISK;
  }
  style |= static_cast<UINT>(defaultIndex) << 8;  // MB_DEFBUTTON2 is 0x100
  record->style = style;
}

ModalScript::ModalScript() {
  previous_ = g_script;
  g_script = this;
  hook_ = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
}

ModalScript::~ModalScript() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_script = previous_;
}

void ModalScript::AnswerMessageBox(int buttonId) {
  answers_.push_back([buttonId](HWND box) { ClickButton(box, buttonId); });
}

void ModalScript::ChooseFile(const std::string& path) {
  answers_.push_back([path](HWND dialog) {
    int field = GetDlgItem(dialog, cmb13) ? cmb13 : edt1;
    SetDlgItemTextA(dialog, field, path.c_str());
    ClickButton(dialog, IDOK);
  });
}

void ModalScript::CancelFileDialog() {
  answers_.push_back([](HWND dialog) { ClickButton(dialog, IDCANCEL); });
}

void ModalScript::Act(std::function<void(HWND)> action) { answers_.push_back(std::move(action)); }

int ModalScript::Failures() const {
  return static_cast<int>(
      std::count_if(records_.begin(), records_.end(), [](const ModalRecord& r) { return r.unexpected || r.timedOut; }));
}

ModalRecord* ModalScript::Find(HWND window) {
  for (auto it = records_.rbegin(); it != records_.rend(); ++it)
    if (it->window == window) return &*it;
  return nullptr;
}

LRESULT CALLBACK ModalScript::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  ModalScript* self = g_script;
  if (self) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND) {
      auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
      if (!(create->lpcs->style & WS_CHILD) && ClassName(window) == "#32770") self->created_.push_back(window);
    } else if (code == HCBT_ACTIVATE) {
      auto it = std::find(self->created_.begin(), self->created_.end(), window);
      if (it != self->created_.end()) {
        self->created_.erase(it);
        self->OnActivate(window);
      }
    } else if (code == HCBT_DESTROYWND) {
      self->created_.erase(std::remove(self->created_.begin(), self->created_.end(), window), self->created_.end());
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ModalScript::OnActivate(HWND window) {
  ModalRecord record;
  record.window = window;
  record.owner = GetWindow(window, GW_OWNER);
  char directory[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof directory, directory);
  record.directory = directory;
  records_.push_back(record);
  // Answer once the dialog's own set-up has finished and its loop is idle.
  SetTimer(window, kAnswerTimer, 0, OnTimer);
}

void CALLBACK ModalScript::OnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  ModalScript* self = g_script;
  if (!self) return;
  ModalRecord* record = self->Find(window);
  if (!record) return;
  if (id == kWatchdogTimer) {
    record->timedOut = true;
    Dismiss(window);
    return;
  }
  self->Answer(window);
}

void ModalScript::Answer(HWND window) {
  ModalRecord* record = Find(window);
  record->title = WindowText(window);
  if (IsFileDialog(window)) {
    record->isFileDialog = true;
    char name[1024] = "";
    GetDlgItemTextA(window, GetDlgItem(window, cmb13) ? cmb13 : edt1, name, sizeof name);
    record->fileName = name;
    HWND types = GetDlgItem(window, cmb1);
    int count = types ? static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
      char entry[512] = "";
      if (SendMessageA(types, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof entry))
        SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
      record->filters.push_back(entry);
    }
  } else {
    bool hasOnlyStandardButtons = true;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      std::string cls = ClassName(child);
      if (cls != "Static" && cls != "STATIC" && cls != "Button" && cls != "BUTTON") hasOnlyStandardButtons = false;
      int id = GetDlgCtrlID(child);
      if ((cls == "Button" || cls == "BUTTON") && (id < IDOK || id > IDCONTINUE)) hasOnlyStandardButtons = false;
    }
    if (hasOnlyStandardButtons) ReadMessageBox(window, record);
  }

  if (answers_.empty()) {
    record->unexpected = true;
    Dismiss(window);
    return;
  }
  std::function<void(HWND)> answer = std::move(answers_.front());
  answers_.pop_front();
  answer(window);
  SetTimer(window, kWatchdogTimer, kWatchdogMs, OnTimer);
}

}  // namespace bench
