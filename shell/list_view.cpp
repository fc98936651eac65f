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
                                LBS_HASSTRINGS | LBS_DISABLENOSCROLL | LBS_EXTENDEDSEL,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_OBJECT_LIST)),
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
  list_.Listen(this);
  InsertRows(0, list_.Count());
}

ObjectListView::~ObjectListView() { list_.StopListening(this); }

// An extended-selection list box answers LB_GETCURSEL and LB_SETCURSEL
// with an error: the selection is read and set item by item.
int ObjectListView::Selected() const {
  LRESULT caret = SendMessageA(window_, LB_GETCARETINDEX, 0, 0);
  if (caret >= 0 && SendMessageA(window_, LB_GETSEL, static_cast<WPARAM>(caret), 0) > 0) return static_cast<int>(caret);
  int first = -1;
  return SendMessageA(window_, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) == 1 ? first : -1;
}

std::vector<int> ObjectListView::SelectedRows() const {
  LRESULT count = SendMessageA(window_, LB_GETSELCOUNT, 0, 0);
  std::vector<int> rows(count > 0 ? static_cast<size_t>(count) : 0);
  if (rows.empty()) return rows;
  LRESULT got =
      SendMessageA(window_, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rows.data()));
  rows.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return rows;
}

void ObjectListView::SetSelection(int index) const {
  std::vector<int> rows;
  if (index >= 0) rows.push_back(index);
  SelectRows(rows);
}

void ObjectListView::SelectRows(const std::vector<int>& rows) const {
  SendMessageA(window_, LB_SETSEL, FALSE, -1);
  // Rows that follow one another go as one range: a whole list selected
  // costs a few messages, not one a row. Its first and last rows are
  // selected one by one too, which scrolls and moves the focus as
  // selecting each row in turn would.
  for (size_t first = 0; first < rows.size();) {
    size_t last = first;
    while (rows[first] >= 0 && last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) ++last;
    if (last > first + 1)
      SendMessageA(window_, LB_SELITEMRANGEEX, static_cast<WPARAM>(rows[first]), static_cast<LPARAM>(rows[last]));
    SendMessageA(window_, LB_SETSEL, TRUE, rows[first]);
    if (last > first) SendMessageA(window_, LB_SETSEL, TRUE, rows[last]);
    first = last + 1;
  }
  if (rows.empty()) return;
  // Shift with a click or an arrow extends from here, and the row is shown.
  SendMessageA(window_, LB_SETANCHORINDEX, static_cast<WPARAM>(rows.front()), 0);
  SendMessageA(window_, LB_SETCARETINDEX, static_cast<WPARAM>(rows.front()), FALSE);
}

void ObjectListView::InsertRow(int index) {
  char text[kTextSize] = "";
  {
    LockedBlock<SoundObject> record(list_.At(index));
    if (record) ObjectRowText(*record, text, sizeof text);
  }
  // The list box keeps its strings in UTF-16: converted here, on the stack,
  // a row costs no conversion buffer of the system's. The code page is the
  // one an ANSI message is converted by, so the row reads the same.
  wchar_t wide[kTextSize];
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kTextSize) > 0)
    SendMessageW(window_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide));
  else
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
    case ListChangeKind::Changed:
    case ListChangeKind::Moved: {
      // A row's string changes only by being put in anew; it stays
      // selected if it was, and the focus stays where it was.
      const int to = change.kind == ListChangeKind::Moved ? change.to : change.index;
      const LRESULT wasSelected = SendMessageA(window_, LB_GETSEL, static_cast<WPARAM>(change.index), 0);
      const LRESULT caret = SendMessageA(window_, LB_GETCARETINDEX, 0, 0);
      SendMessageA(window_, LB_DELETESTRING, static_cast<WPARAM>(change.index), 0);
      InsertRow(to);
      if (wasSelected > 0) SendMessageA(window_, LB_SETSEL, TRUE, to);
      if (caret == change.index) SendMessageA(window_, LB_SETCARETINDEX, static_cast<WPARAM>(to), FALSE);
      break;
    }
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

std::vector<int> SelectedIndexes() { return g_view ? g_view->SelectedRows() : std::vector<int>(); }

void ShowSelectionInfo() {
  if (!g_view) return;
  const std::vector<int> rows = g_view->SelectedRows();
  if (rows.size() == 1) {
    ShowObjectInfo(g_view->list().At(rows[0]));
  } else if (rows.size() > 1 && IsWindow(g_shell.statusBar)) {
    char format[64];
    LanguageString(IDS_FMT_SELECTED_COUNT, format, sizeof format);
    char text[96];
    snprintf(text, sizeof text, format, static_cast<unsigned>(rows.size()));
    StatusBarSetText(g_shell.statusBar, text);
  }
}

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
