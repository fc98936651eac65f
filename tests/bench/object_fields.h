// The fields of an object dialog (file, description, counts, track,
// duration) as plain edit controls, for filling Sound Objects in tests.
#ifndef WENDLE_TEST_OBJECT_FIELDS_H
#define WENDLE_TEST_OBJECT_FIELDS_H

#include <windows.h>

#include <string>

#include "resources/ids.h"

class ObjectFields {
 public:
  ObjectFields() {
    window_ = CreateWindowExA(0, "STATIC", "fields", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (int id :
         {IDC_SOUND_FILE, IDC_DESCRIPTION, IDC_REPEAT_COUNT, IDC_POST_DELAY, IDC_TRACK_NUMBER, IDC_PAUSE_DURATION}) {
      HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 10, 10, window_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
      SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    }
  }
  ~ObjectFields() { DestroyWindow(window_); }
  HWND window() const { return window_; }
  void Set(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }
  std::string Get(int id) const {
    char text[1024] = "";
    GetDlgItemTextA(window_, id, text, sizeof text);
    return text;
  }

 private:
  HWND window_;
};

#endif
