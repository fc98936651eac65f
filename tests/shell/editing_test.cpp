// Editing a list in the real program as in any editor: a selection of
// several rows made with Shift and the arrows, moved and removed with the
// keys, and both taken back with Ctrl+Z, leave a list whose Save writes
// the file it was opened from byte for byte, and the list counts as
// unchanged again.
#include <windows.h>

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"
#include "support/scoped_win.h"

namespace {

using bench::LanguageString;
using bench::Program;

class Editing : public bench::ProgramTestBase {};

std::wstring Row(Program& wendle, int index) { return bench::WideListText(wendle.Child(IDC_OBJECT_LIST), index); }

TEST_F(Editing, MovesAndRemovalsUndoneSaveTheFileAsItWas) {
  std::string list = bench::WriteMarkedList(bench::TempPath("edit.wdl"), {1, 2, 3, 4, 5, 6});
  const std::string original = bench::ReadFileBytes(list);
  Program wendle("edit.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 6; }));

  // Rows 3 to 5, as a person selects them.
  wendle.Key(VK_DOWN);
  wendle.Key(VK_DOWN);
  wendle.ShiftKey(VK_DOWN);
  wendle.ShiftKey(VK_DOWN);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == "3 Sound Objects selected"; })) << wendle.StatusText();
  wendle.Key(VK_HOME, false, true);  // Move to Top
  ASSERT_TRUE(wendle.WaitFor([&] { return Row(wendle, 0) == L"Sound 3" && Row(wendle, 2) == L"Sound 5"; }))
      << wendle.Describe();
  EXPECT_EQ(Row(wendle, 3), L"Sound 1");

  // The first two rows removed with one question.
  wendle.Key(VK_HOME);
  wendle.ShiftKey(VK_DOWN);
  wendle.Key(VK_DELETE);
  HWND confirm = wendle.WaitForDialog();
  ASSERT_TRUE(confirm) << wendle.Describe();
  ASSERT_TRUE(wendle.PressButton(confirm, IDYES));
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 4; })) << wendle.Describe();
  EXPECT_EQ(Row(wendle, 0), L"Sound 5");

  // Each Undo selects what it put back.
  wendle.Key('Z', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 6; })) << wendle.Describe();
  EXPECT_EQ(Row(wendle, 0), L"Sound 3");
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == "2 Sound Objects selected"; })) << wendle.StatusText();
  wendle.Key('Z', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return Row(wendle, 0) == L"Sound 1"; })) << wendle.Describe();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Row(wendle, i), L"Sound " + std::to_wstring(i + 1));
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == "3 Sound Objects selected"; })) << wendle.StatusText();
  EXPECT_EQ(wendle.ListSelection(), 2);

  // Redo and Undo again, then File > Save into the file, deleted first so
  // the write is seen.
  wendle.Key('Y', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return Row(wendle, 0) == L"Sound 3"; })) << wendle.Describe();
  wendle.Key('Z', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return Row(wendle, 0) == L"Sound 1"; })) << wendle.Describe();
  ASSERT_TRUE(DeleteFileA(list.c_str()));
  wendle.Key('F', false, true);
  wendle.Key('S');
  ASSERT_TRUE(wendle.WaitFor([&] { return bench::ReadFileBytes(list).size() == original.size(); }))
      << wendle.Describe();
  EXPECT_EQ(bench::ReadFileBytes(list), original);

  // A change undone is no change: the close asks nothing.
  wendle.Key(VK_HOME);
  wendle.Key(VK_DOWN, false, true);  // Move Down
  ASSERT_TRUE(wendle.WaitFor([&] { return Row(wendle, 1) == L"Sound 1"; })) << wendle.Describe();
  wendle.Key('Z', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return Row(wendle, 0) == L"Sound 1"; })) << wendle.Describe();
  wendle.Key(VK_F4, false, true);
  EXPECT_EQ(wendle.WaitForExit(5000), 0u) << wendle.Describe();
}

// Files as a folder window copies them: CF_HDROP with wide names.
bool PutFilesOnClipboard(const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths) {
    wchar_t wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide, MAX_PATH)) return false;
    names += wide;
    names += L'\0';
  }
  names += L'\0';
  const size_t size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!block) return false;
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  std::optional<ScopedClipboard> clipboard;
  for (int tries = 0; tries < 50 && !clipboard; ++tries) {
    clipboard.emplace(nullptr);
    if (*clipboard) break;
    clipboard.reset();
    Sleep(20);
  }
  if (!clipboard) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  const bool put = SetClipboardData(CF_HDROP, block) != nullptr;
  if (!put) GlobalFree(block);
  return put;
}

std::wstring ClipboardText() {
  std::wstring text;
  ScopedClipboard clipboard(nullptr);
  if (!clipboard) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  return text;
}

// Files copied in a folder window paste before the selected row, and the
// pasted rows are one edit.
TEST_F(Editing, FilesFromTheClipboardPasteWhereTheSelectionIs) {
  bench::WriteMarkedList(bench::TempPath("paste.wdl"), {1, 2, 3});
  const std::string a = bench::WriteMarkedWave("pasted a.wav", 7, 100);
  const std::string b = bench::WriteMarkedWave("pasted b.wav", 8, 100);
  ASSERT_TRUE(PutFilesOnClipboard({a, b}));
  Program wendle("paste.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 3; }));
  wendle.Key(VK_DOWN);  // row 2
  wendle.Key('V', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 5; })) << wendle.Describe();
  EXPECT_EQ(Row(wendle, 0), L"Sound 1");
  EXPECT_NE(Row(wendle, 1).find(L"PASTED A.WAV"), std::wstring::npos) << Row(wendle, 1).c_str();
  EXPECT_NE(Row(wendle, 2).find(L"PASTED B.WAV"), std::wstring::npos) << Row(wendle, 2).c_str();
  EXPECT_EQ(Row(wendle, 3), L"Sound 2");
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == "2 Sound Objects selected"; })) << wendle.StatusText();
  wendle.Key('Z', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 3; })) << wendle.Describe();
}

// Objects copied from one list paste into another after New, with their
// descriptions, counts and files; the file names go along as text.
TEST_F(Editing, ObjectsCopiedFromOneListPasteIntoANewOne) {
  bench::WriteMarkedList(bench::TempPath("from.wdl"), {1, 2, 3, 4});
  Program wendle("from.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 4; }));
  wendle.Key(VK_DOWN);
  wendle.ShiftKey(VK_DOWN);  // rows 2 and 3
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == "2 Sound Objects selected"; })) << wendle.Describe();
  wendle.Key('C', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return !ClipboardText().empty(); })) << wendle.Describe();
  std::wstring names = ClipboardText();
  CharUpperBuffW(&names[0], static_cast<DWORD>(names.size()));
  EXPECT_NE(names.find(L"SOUND2.WAV\r\n"), std::wstring::npos) << names.c_str();
  EXPECT_NE(names.find(L"SOUND3.WAV\r\n"), std::wstring::npos) << names.c_str();
  EXPECT_EQ(names.find(L"SOUND1.WAV"), std::wstring::npos) << names.c_str();

  wendle.Key('F', false, true);  // File > New: the list is unchanged, no question
  wendle.Key('N');
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 0; })) << wendle.Describe();
  wendle.Key('V', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 2; })) << wendle.Describe();
  EXPECT_EQ(Row(wendle, 0), L"Sound 2");
  EXPECT_EQ(Row(wendle, 1), L"Sound 3");
  // They are the objects themselves, files and counts: the status bar
  // describes each as the first list did.
  wendle.Key(VK_HOME);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.StatusText().rfind("Repeat:0  Pause:0   ", 0) == 0; }))
      << wendle.StatusText();
  std::string status = wendle.StatusText();
  CharUpperBuffA(&status[0], static_cast<DWORD>(status.size()));
  EXPECT_NE(status.find("SOUND2.WAV"), std::string::npos) << status;
  EXPECT_EQ(wendle.Title(), "Wendle") << "a new list, not the one copied from";
}

}  // namespace
