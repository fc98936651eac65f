// Driving Wendle's dialogs as a person would: typing into fields, clicking
// buttons, choosing list entries, on the real controls of a dialog that
// the code under test runs modally (reached through bench::ModalScript's
// Act). Also the world the dialogs live in: a stand-in main window, the
// "ovSEdit" class, settings at their defaults, and screenshots.
#ifndef WENDLE_DIALOG_DRIVER_H
#define WENDLE_DIALOG_DRIVER_H

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/screenshot.h"
#include "model/sound_object.h"

namespace dialogs_test {

// A dialog on screen and its controls.
class Dialog {
 public:
  explicit Dialog(HWND window) : window_(window) {}
  HWND window() const { return window_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }

  std::string Title() const;
  std::string Text(int id) const;
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
  bool Checked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
  // The id of the control that has the keyboard focus (0 for none).
  int Focused() const;
  // How many pixels of a check box's or radio button's label, as drawn on
  // screen, stand out from the dialog's grey (the box itself left out).
  int LabelInk(int id) const;

  // Replaces a field's text by typing: the field gets the focus, its text
  // is selected and each character is typed (an empty text deletes it).
  void Type(int id, const std::string& text) const;
  // Pastes text at the caret, as Ctrl+V would.
  void Paste(int id, const std::string& text) const;
  // Clicks a button, check box or radio button. False (and nothing
  // happens) when the control is hidden or disabled, as for a person.
  bool Click(int id) const;
  // Presses a key on a control (WM_KEYDOWN and WM_KEYUP).
  void Key(int id, UINT virtualKey) const;
  // Double-clicks an entry of a list box.
  void DoubleClickEntry(int listId, int index) const;
  // Types a character on a drop-down list or a list box with strings,
  // which selects the next entry beginning with it.
  void ChooseLetter(int listId, char letter) const;

 private:
  HWND window_;
};

// Queues an action for the next dialog the code under test opens, run
// once the dialog is on screen: the script may answer a dialog as soon as
// it is activated, which can come before the dialog manager shows it.
void ActOnDialog(bench::ModalScript& modals, std::function<void(HWND)> action);

using bench::SaveScreenshot;

// The values of a Sound Object at a list index.
struct ObjectValues {
  bool exists = false;
  uint32_t flags = 0;
  std::string description;  // "" for none
  bool hasDescription = false;
  std::string fileName;
  bool hasFileName = false;
  uint32_t trackNumber = 0;
  uint32_t repeatCount = 0;
  uint32_t postDelay = 0;
};
ObjectValues ObjectValuesAt(int index);

// Appends an object with these values to the Object List; its index.
int AppendObject(uint32_t kind, const char* description, const char* fileName, uint32_t track = 0, uint32_t repeats = 0,
                 uint32_t delay = 0);

// Every dialog test: a stand-in main window with an empty list, every
// media device type present, an empty registry and the settings it gives.
class DialogTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Pumps messages until every queued answer was used and the last modal
  // window that appeared is gone.
  bool WaitForModals(const bench::ModalScript& modals);
  // The record of the n-th modal window (0 = the first), or an empty one.
  static const bench::ModalRecord& RecordAt(const bench::ModalScript& modals, size_t n);

  bench::ListHost host_;
};

}  // namespace dialogs_test

#endif
