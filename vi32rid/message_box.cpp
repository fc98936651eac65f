// ResMessageBox: a message box whose texts may be string ids.
#include "support/support_library.h"
#include "vi32rid/library.h"

namespace {
// Texts hold at most 511 characters; room to spare for longer ones.
constexpr int kTextSize = 1024;
}  // namespace

int WINAPI ResMessageBox(HWND owner, HINSTANCE module, LPCSTR text, LPCSTR caption, UINT style) {
  char textBuffer[kTextSize];
  char captionBuffer[kTextSize];
  vi32rid::ResolveText(module, text, textBuffer, kTextSize);
  vi32rid::ResolveText(module, caption, captionBuffer, kTextSize);
  return MessageBoxA(owner, textBuffer, captionBuffer, style);
}
