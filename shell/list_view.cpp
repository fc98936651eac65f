#include "shell/list_view.h"

#include <cstdio>

#include "model/local_memory.h"
#include "resources/ids.h"
#include "shell/shell_state.h"
#include "support/control_library.h"
#include "support/language.h"

namespace {

ObjectListView* g_view = nullptr;

// "Repeat:%u  Pause:%u   " and a path of up to 511 bytes.
constexpr int kTextSize = 512;
constexpr int kObjectInfoSize = kTextSize + 64;

void FormatObjectInfo(const SoundObject& record, char* text, size_t size) {
  char format[64];
  if (record.flags & CdTrack) {
    // A described track's row shows the description, so the track number
    // is added here; otherwise the row already shows the track.
    LanguageString(record.description ? IDS_FMT_INFO_TRACK : IDS_FMT_INFO_COUNTS, format, sizeof format);
    snprintf(text, size, format, record.repeatCount, record.postDelay, static_cast<unsigned>(record.trackNumber));
    return;
  }
  char fileName[kTextSize];
  if (record.fileName && CopyTextBlock(record.fileName, fileName, sizeof fileName)) {
    LanguageString(IDS_FMT_INFO_FILE, format, sizeof format);
    snprintf(text, size, format, record.repeatCount, record.postDelay, fileName);
  } else {
    LanguageString(IDS_NO_OBJECT_INFO, text, static_cast<int>(size));
  }
}

}  // namespace

ObjectListView::ObjectListView(ObjectList& list, HWND parent, const char* className) : list_(list) {
  window_ = CreateWindowExA(0, className, nullptr,
                            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                                LBS_HASSTRINGS | LBS_DISABLENOSCROLL,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_OBJECT_LIST)),
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
  list_.Listen(this);
  InsertRows(0, list_.Count());
}

ObjectListView::~ObjectListView() { list_.StopListening(this); }

int ObjectListView::Selected() const { return static_cast<int>(SendMessageA(window_, LB_GETCURSEL, 0, 0)); }

void ObjectListView::SetSelection(int index) const {
  SendMessageA(window_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ObjectListView::InsertRow(int index) {
  char text[kTextSize] = "";
  {
    LockedBlock<SoundObject> record(list_.At(index));
    if (record) ObjectRowText(*record, text, sizeof text);
  }
  SendMessageA(window_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
}

void ObjectListView::InsertRows(int index, int count) {
  if (count <= 0 || !window_) return;
  // Told the count ahead, the list box need not grow row by row.
  if (count > 1) SendMessageA(window_, LB_INITSTORAGE, static_cast<WPARAM>(count), 0);
  for (int i = 0; i < count; ++i) InsertRow(index + i);
}

void ObjectListView::OnListChange(const ListChange& change) {
  if (!window_) return;
  switch (change.kind) {
    case ListChangeKind::Inserted:
      InsertRows(change.index, change.count);
      break;
    case ListChangeKind::Removed:
      for (int i = 0; i < change.count; ++i)
        SendMessageA(window_, LB_DELETESTRING, static_cast<WPARAM>(change.index), 0);
      break;
    case ListChangeKind::Changed: {
      // A row's string changes only by being put in anew; the selection
      // stays where it was.
      const int selected = Selected();
      SendMessageA(window_, LB_DELETESTRING, static_cast<WPARAM>(change.index), 0);
      InsertRow(change.index);
      if (selected >= 0) SetSelection(selected);
      break;
    }
    case ListChangeKind::Moved:
      SendMessageA(window_, LB_DELETESTRING, static_cast<WPARAM>(change.index), 0);
      InsertRow(change.to);
      break;
    case ListChangeKind::Reset:
      SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
      SendMessageA(window_, LB_RESETCONTENT, 0, 0);
      InsertRows(0, list_.Count());
      SendMessageA(window_, WM_SETREDRAW, batches_ ? FALSE : TRUE, 0);
      if (!batches_) InvalidateRect(window_, nullptr, TRUE);
      break;
    case ListChangeKind::BatchBegin:
      if (batches_++ == 0) SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
      break;
    case ListChangeKind::BatchEnd:
      if (batches_ > 0 && --batches_ == 0) {
        SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window_, nullptr, TRUE);
      }
      break;
    case ListChangeKind::FileChanged:
      break;
  }
}

ObjectListView& MainView() { return *g_view; }
bool HasMainView() { return g_view != nullptr; }
void SetMainView(ObjectListView* view) { g_view = view; }

int SelectedIndex() { return g_view ? g_view->Selected() : -1; }

void ShowObjectInfo(SoundObjectHandle handle) {
  HWND statusBar = g_shell.statusBar;
  if (!handle || !IsWindow(statusBar)) return;
  char text[kObjectInfoSize];
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return;
    FormatObjectInfo(*record, text, sizeof text);
  }
  StatusBarSetText(statusBar, text);
}

void SelectListRow(int index) {
  if (!g_view) return;
  g_view->SetSelection(index);
  if (index >= 0) ShowObjectInfo(g_view->list().At(index));
}

void SelectFirstItem() {
  if (!g_view) return;
  SelectListRow(0);
  SetFocus(g_view->window());
}
