/*
 * The main window's Sound Object List (control IDC_OBJECT_LIST, class
 * "ovSListBox"): a view of the Object List. Each row holds its object's
 * row text as its string (what screen readers read, and what typing a
 * letter in the list searches) and draws the object the document holds at
 * its index; the view holds no object. The selection is the view's.
 */
#ifndef WENDLE_LIST_VIEW_H
#define WENDLE_LIST_VIEW_H

#include <windows.h>

#include <vector>

#include "model/object_list.h"

class ObjectListView : public ObjectListListener {
 public:
  // Creates the list box (of the class given: the main window's
  // superclass, or in tests the system's) as a child of parent and shows
  // list in it.
  ObjectListView(ObjectList& list, HWND parent, const char* className = "ovSListBox");
  ~ObjectListView() override;
  ObjectListView(const ObjectListView&) = delete;
  ObjectListView& operator=(const ObjectListView&) = delete;

  HWND window() const { return window_; }
  ObjectList& list() const { return list_; }

  // The selected row, -1 for none: of several, the one with the focus,
  // else the first.
  int Selected() const;
  // Every selected row, top to bottom.
  std::vector<int> SelectedRows() const;
  // Selects a row alone (-1: none) without telling anyone.
  void SetSelection(int index) const;
  // Selects these rows (and no others); the focus goes to the first.
  void SelectRows(const std::vector<int>& rows) const;

  void OnListChange(const ListChange& change) override;

 private:
  void InsertRows(int index, int count);
  void InsertRow(int index);

  ObjectList& list_;
  HWND window_ = nullptr;
  int batches_ = 0;  // BatchBegin without its BatchEnd yet
};

// The one view of the main window and the list it shows, from the main
// window's creation to its end.
ObjectListView& MainView();
bool HasMainView();
void SetMainView(ObjectListView* view);

// The selected object's index, -1 for none.
int SelectedIndex();
// Every selected object's index, in order.
std::vector<int> SelectedIndexes();
// Selects an item and shows its object's details on the status bar, so the
// bar always describes the selected object.
void SelectListRow(int index);
// Selects item 0 of the list and gives the list the keyboard focus.
void SelectFirstItem();
// The object's details on the status bar: its counts and its track or file.
void ShowObjectInfo(SoundObjectHandle handle);
// The status bar for the selection now: the one object's details, or how
// many are selected.
void ShowSelectionInfo();

#endif
