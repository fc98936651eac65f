#include "model/object_list.h"

#include <cstdio>

#include "model/file_kind.h"
#include "model/local_memory.h"
#include "resources/ids.h"
#include "state/main_window_state.h"
#include "support/control_library.h"
#include "support/language.h"
#include "support/support_library.h"

namespace {

LRESULT SendList(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageA(g_state.listBox, message, wParam, lParam);
}

int ItemCount() { return static_cast<int>(SendList(LB_GETCOUNT)); }

// Repaints one item's rectangle; an item scrolled out of view needs none.
void RepaintItem(int index) {
  RECT item, client, visible;
  if (SendList(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) == LB_ERR) return;
  GetClientRect(g_state.listBox, &client);
  if (IntersectRect(&visible, &item, &client)) InvalidateRect(g_state.listBox, &item, TRUE);
}

int InsertionIndex(int method) {
  switch (method) {
    case InsertAtTop:
      return 0;
    case InsertAtCurrent: {
      int selected = SelectedIndex();
      return selected < 0 ? 0 : selected;
    }
    default:
      return -1;
  }
}

// "Repeat:%u  Pause:%u   " and a path of up to 511 characters.
constexpr int kObjectInfoSize = kTextBufferSize + 64;

void FormatObjectInfo(const SoundObject& record, char* text, size_t size) {
  if (record.flags & CdTrack) {
    // A described track's list line shows the description, so the track
    // number is added here; otherwise the line already shows the track.
    if (record.description)
      snprintf(text, size, "Repeat:%u  Pause:%u  Track:%u", record.repeatCount, record.postDelay,
               static_cast<unsigned>(record.trackNumber));
    else
      snprintf(text, size, "Repeat:%u  Pause:%u", record.repeatCount, record.postDelay);
    return;
  }
  char fileName[kTextBufferSize];
  if (record.fileName && CopyTextBlock(record.fileName, fileName, sizeof fileName))
    snprintf(text, size, "Repeat:%u  Pause:%u   %s", record.repeatCount, record.postDelay, fileName);
  else
    LanguageString(IDS_NO_OBJECT_INFO, text, static_cast<int>(size));
}

}  // namespace

void ShowObjectInfo(HWND statusBar, SoundObjectHandle handle) {
  if (!handle || !IsWindow(statusBar)) return;
  char text[kObjectInfoSize];
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return;
    FormatObjectInfo(*record, text, sizeof text);
  }
  StatusBarSetText(statusBar, text);
}

int SelectedIndex() { return static_cast<int>(SendList(LB_GETCURSEL)); }

void SelectObject(int index) {
  SendList(LB_SETCURSEL, static_cast<WPARAM>(index));
  if (index >= 0) ShowObjectInfo(g_state.statusBar, ObjectAt(index));
}

SoundObjectHandle ObjectAt(int index) {
  LRESULT data = SendList(LB_GETITEMDATA, static_cast<WPARAM>(index));
  return data == LB_ERR ? nullptr : reinterpret_cast<SoundObjectHandle>(data);
}

void SelectFirstItem() {
  SelectObject(0);
  SetFocus(g_state.listBox);
}

int InsertSoundObject(HWND owner, uint32_t kind, int replaceIndex, int method, BOOL useDefaults,
                      const char* defaultPath) {
  SoundObjectHandle handle = AllocSoundObject();
  if (!handle) {
    ShowMessage(owner, IDS_OUT_OF_MEMORY, MB_ICONEXCLAMATION);
    return -1;
  }
  if (!FillSoundObject(owner, handle, kind, useDefaults, defaultPath)) return -1;

  int at = InsertionIndex(method);
  if (replaceIndex != -1) {
    SendList(LB_DELETESTRING, static_cast<WPARAM>(replaceIndex));  // frees the old object
    at = replaceIndex;
  }
  int index = InsertObjectItem(g_state.listBox, at, handle);
  if (index < 0) {
    FreeSoundObject(handle);  // the list box refused the item
    return -1;
  }
  g_state.listGrew.Raise();  // a non-stop Play All of an empty list waits for this
  RepaintItem(index);
  g_state.listModified = 1;
  return index;
}

int InsertObjectItem(HWND list, int index, SoundObjectHandle handle) {
  if (!IsWindow(list)) return -1;
  char text[kTextBufferSize] = "";
  {
    LockedBlock<SoundObject> record(handle);
    if (record) ObjectRowText(*record, text, sizeof text);
  }
  LRESULT result = SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  if (result < 0) return -1;
  SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(result), reinterpret_cast<LPARAM>(handle));
  return static_cast<int>(result);
}

int AttachSoundObject(HWND list, SoundObjectHandle handle, int index) {
  if (!IsWindow(list)) return 0;
  LRESULT old = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (old != LB_ERR && old != 0) FreeSoundObject(reinterpret_cast<SoundObjectHandle>(old));
  SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(handle));
  g_state.listGrew.Raise();  // a non-stop Play All of an empty list waits for this
  return 1;
}

int AddFileObject(const char* path) {
  uint32_t kind;
  uint32_t needed;
  switch (GetFileKind(path)) {
    case FileKindWave:
      kind = Wave;
      needed = WaveAudio;
      break;
    case FileKindMidi:
      kind = Midi;
      needed = MidiAudio;
      break;
    case FileKindVideo:
      kind = Video;
      needed = AviVideo;
      break;
    case FileKindAudio:
      kind = AudioFile;
      needed = AudioFiles;
      break;
    default:
      return 0;
  }
  if (!(g_mediaCaps & needed)) return 0;
  return InsertSoundObject(nullptr, kind, -1, InsertAppend, TRUE, path) >= 0 ? 1 : 0;
}

void SetListRedraw(bool redraw) {
  SendList(WM_SETREDRAW, redraw ? TRUE : FALSE);
  if (redraw) InvalidateRect(g_state.listBox, nullptr, TRUE);
}

int AppendSoundObject(SoundObjectHandle handle) {
  int index = InsertObjectItem(g_state.listBox, -1, handle);
  if (index < 0) {
    FreeSoundObject(handle);  // the list box refused the item
    return -1;
  }
  g_state.listGrew.Raise();
  return index;
}

void ClearObjectList() {
  if (ItemCount() <= 0) return;
  SetListRedraw(false);
  SendList(LB_RESETCONTENT);  // deletes every item, and so frees every object
  SetListRedraw(true);
}

// Nothing of the list may be freed while it plays: a hot key or another
// start may have begun playing while a question was on screen.
bool ListPlays() { return g_state.playing || g_state.playAllRunning; }

void RemoveSoundObject() {
  if (ListPlays()) return;
  int selected = SelectedIndex();
  if (selected >= 0) {
    bool confirmed =
        !(g_settings.confirmFlags & ConfirmObjectDelete) ||
        ShowMessage(g_state.mainWindow, IDS_CONFIRM_REMOVE, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    if (confirmed && !ListPlays() && SendList(LB_DELETESTRING, static_cast<WPARAM>(selected)) != LB_ERR)
      g_state.listModified = 1;
  }
  SelectFirstItem();
}

int MoveTarget(int command) {
  int selected = SelectedIndex();
  int count = ItemCount();
  if (selected < 0) return -1;
  int target;
  switch (command) {
    case IDM_MOVE_TOP:
      target = 0;
      break;
    case IDM_MOVE_UP:
      target = selected - 1;
      break;
    case IDM_MOVE_DOWN:
      target = selected + 1;
      break;
    case IDM_MOVE_BOTTOM:
      target = count - 1;
      break;
    default:
      return -1;
  }
  return target < 0 || target >= count || target == selected ? -1 : target;  // -1: nothing would change
}

void MoveSoundObject(int command) {
  int target = MoveTarget(command);
  if (target < 0) return;
  int selected = SelectedIndex();
  SoundObjectHandle handle = ObjectAt(selected);
  g_state.suppressItemFree = 1;  // the object moves with us
  SendList(LB_DELETESTRING, static_cast<WPARAM>(selected));
  g_state.suppressItemFree = 0;
  g_state.listModified = 1;
  int index = InsertObjectItem(g_state.listBox, target, handle);
  if (index < 0) {
    FreeSoundObject(handle);  // the list box refused the item
    return;
  }
  RepaintItem(index);
  SelectObject(index);  // it stays selected, so it can be moved again at once
}

void OnObjectListDeleteItem(const DELETEITEMSTRUCT* item) {
  if (g_state.suppressItemFree || !item->itemData) return;
  if (FreeSoundObject(reinterpret_cast<SoundObjectHandle>(item->itemData)) != 0)
    ShowMessage(g_state.mainWindow, IDS_FREE_FAILED, MB_ICONHAND);
}
