// Answers the platform's real modal windows by script, so command flows can
// be tested without a person.
//
//   bench::ModalScript modals;
//   modals.AnswerMessageBox(IDNO);          // the next message box: No
//   modals.ChooseFile("C:\\LISTS\\A.WDL");  // the next file dialog: this file
//   RunTheCommand();
//   EXPECT_EQ(modals.Records()[0].text, ...);
//
// A thread-local CBT hook sees every top-level dialog ("#32770") that this
// thread creates. When one becomes active it is recorded (title, text,
// message-box style) and the next queued answer is applied once the dialog
// is idle (a zero-delay timer on the dialog, so its own set-up is complete).
// A dialog with no queued answer is recorded as unexpected and cancelled, and
// a dialog still open 10 seconds after its answer is cancelled too, so a
// faulty test fails instead of hanging.
#ifndef WENDLE_MODAL_SCRIPT_H
#define WENDLE_MODAL_SCRIPT_H

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct ModalRecord {
  HWND window = nullptr;
  HWND owner = nullptr;
  std::string title;  // window caption
  bool isMessageBox = false;
  bool isFileDialog = false;
  std::string text;                  // message box text
  UINT style = 0;                    // message box: MB_ buttons | icon | default button
  std::vector<std::string> filters;  // file dialog: entries of its type list
  std::string fileName;              // file dialog: initial file-name text
  std::string directory;             // current directory when it appeared
  bool unexpected = false;           // no answer was queued for it
  bool timedOut = false;             // the answer did not close it
};

class ModalScript {
 public:
  ModalScript();
  ~ModalScript();
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  // The next message box: press the button with this id (IDOK, IDYES...).
  void AnswerMessageBox(int buttonId);
  // The next file dialog: type this path into its name field and press OK.
  void ChooseFile(const std::string& path);
  // The next file dialog: Cancel.
  void CancelFileDialog();
  // The next dialog of any kind: run action on it (it must end the dialog).
  void Act(std::function<void(HWND)> action);

  const std::vector<ModalRecord>& Records() const { return records_; }
  // Answers still queued (0 when every queued modal window appeared).
  size_t Pending() const { return answers_.size(); }
  // Records of windows that appeared without an answer or did not close.
  int Failures() const;

 private:
  static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
  void OnActivate(HWND window);
  void Answer(HWND window);
  ModalRecord* Find(HWND window);

  HHOOK hook_ = nullptr;
  std::deque<std::function<void(HWND)>> answers_;
  std::vector<HWND> created_;
  std::vector<ModalRecord> records_;
  ModalScript* previous_ = nullptr;
};

// Reads a message box that is on screen into record (text, style).
void ReadMessageBox(HWND box, ModalRecord* record);
// Presses a dialog button as a click would (BN_CLICKED to the dialog).
void ClickButton(HWND dialog, int id);

}  // namespace bench

#endif
