// A stand-in for the main window: a top-level window with the main menu that
// shows an Object List of its own in the program's view (the list box,
// control 528), with a status bar and a title, and passes playback's
// events and the Play All worker's last word to the program's handlers, as
// the main window does. It fills the process-wide state the program's code
// reads.
#ifndef WENDLE_LIST_HOST_H
#define WENDLE_LIST_HOST_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "model/object_list.h"

class ObjectListView;

namespace bench {

class ListHost {
 public:
  // listClass names the list box's window class: the system's by default,
  // or a superclass such as the main window's "ovSListBox" (registered).
  explicit ListHost(const char* listClass = "LISTBOX");
  ~ListHost();
  ListHost(const ListHost&) = delete;
  ListHost& operator=(const ListHost&) = delete;

  HWND window() const { return window_; }
  HWND list() const { return list_; }
  ObjectList& objects() { return objects_; }
  HWND statusBar() const { return statusBar_; }

  int Count() const;
  int Selected() const;
  std::string Title() const;
  std::string StatusText() const;
  // WM_COMMAND messages posted to the window and not yet dispatched
  // (removed from the queue), as (command id, lParam).
  std::vector<std::pair<int, LPARAM>> TakePostedCommands();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  ObjectList objects_;
  std::unique_ptr<ObjectListView> view_;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HWND statusBar_ = nullptr;
};

// Selects one row of an extended-selection list box alone (-1: none), as
// a click would, without telling its parent; the row that is selected (the
// focused one of several), -1 for none.
void SelectRow(HWND list, int index);
int SelectedRow(HWND list);

}  // namespace bench

// The main view's list (the host's, while one lives): its object at index,
// and emptying it, as the tests say it.
SoundObjectHandle ObjectAt(int index);
void ClearObjectList();

#endif
