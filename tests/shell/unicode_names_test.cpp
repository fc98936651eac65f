// Names in any script, and what a screen reader reads, in the real program:
// lists made through the dialogs with names in Cyrillic, Greek, CJK and
// emoji, saved, opened again and heard; a list written by earlier versions
// in code page 1252; the rows' texts, typing a letter in the list, and the
// rows and surfaces in high contrast. Texts are read back through the
// wide-character functions, as a screen reader reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/program.h"
#include "bench/screenshot.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

using bench::Program;
using bench::WideListText;
using bench::WideWindowText;

class UnicodeNamesTest : public bench::ProgramTestBase {
 protected:
  void SetUp() override {
    bench::ProgramTestBase::SetUp();
    // The tests carry the program's manifest: their "A" functions speak
    // UTF-8 too, so the names below reach the files as they are written.
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
  }
};

testing::AssertionResult Confirm(Program& wendle, HWND dialog) {
  wendle.KeyIn(dialog, VK_RETURN);
  if (wendle.WaitFor([&] { return !IsWindow(dialog); })) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the dialog stayed open: " << wendle.Describe();
}

// Adds a WAV file object through Add Sound Object and its dialog.
testing::AssertionResult AddWave(Program& wendle, const std::string& path, const std::string& description) {
  HWND dialog = wendle.OpenAddDialogOfKind(IDK_WAVE);
  if (!dialog) return testing::AssertionFailure() << "no file dialog: " << wendle.Describe();
  testing::AssertionResult typed = wendle.TypeInto(GetDlgItem(dialog, IDC_SOUND_FILE), path);
  if (typed && !description.empty()) typed = wendle.TypeInto(GetDlgItem(dialog, IDC_DESCRIPTION), description);
  if (!typed) return typed;
  return Confirm(wendle, dialog);
}

std::vector<std::wstring> Rows(Program& wendle) {
  std::vector<std::wstring> rows;
  HWND list = wendle.Child(IDC_OBJECT_LIST);
  for (int i = 0; i < wendle.ListCount(); ++i) rows.push_back(WideListText(list, i));
  return rows;
}

TEST_F(UnicodeNamesTest, NamesInFourScriptsAreSavedOpenedAgainAndHeard) {
  std::string cyrillic = bench::WriteMarkedWave("Мелодия.wav", 21, 200);
  std::string cjk = bench::WriteMarkedWave("旋律🎶.wav", 22, 200);
  std::string list = bench::TempPath("Ωδη.wdl");
  DeleteFileA(list.c_str());
  const std::vector<std::wstring> rows = {L"Ωδή · песня", L"旋律🎶.WAV"};
  {
    Program wendle;
    ASSERT_TRUE(wendle.Window());
    ASSERT_TRUE(AddWave(wendle, cyrillic, "Ωδή · песня"));
    ASSERT_TRUE(AddWave(wendle, cjk, ""));  // the row shows the file name
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 2; }));
    // The file name's row: its full path, upper-cased as every name is.
    std::wstring second = WideListText(wendle.Child(IDC_OBJECT_LIST), 1);
    ASSERT_GE(second.size(), rows[1].size());
    EXPECT_EQ(second.substr(second.size() - rows[1].size()), rows[1]);
    EXPECT_EQ(WideListText(wendle.Child(IDC_OBJECT_LIST), 0), rows[0]);

    ASSERT_TRUE(wendle.SaveAsByKeys(list));
    EXPECT_TRUE(wendle.WaitFor([&] { return WideWindowText(wendle.Window()) == L"Wendle - ΩΔΗ.WDL"; }))
        << wendle.Describe();
    bench::SaveScreenshot(wendle.Window(), "unicode_names_list");
    wendle.Key(VK_F4, false, true);  // saved: closes without a question
    EXPECT_EQ(wendle.WaitForExit(), 0u) << wendle.Describe();
  }
  // UTF-8 without a byte-order mark: the magic line stays the first bytes.
  std::string bytes = bench::ReadFileBytes(list);
  EXPECT_EQ(bytes.compare(0, 7, "WDv1.0\n"), 0);
  EXPECT_NE(bytes.find("\nΩδή · песня\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("\\旋律🎶.WAV\n"), std::string::npos) << bytes;

  size_t from = bench::SinkSize();
  Program wendle("\"" + list + "\" /play");
  ASSERT_TRUE(wendle.Window());
  EXPECT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{21, 22}));
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
  EXPECT_EQ(WideWindowText(wendle.Window()), L"Wendle - ΩΔΗ.WDL");
  std::vector<std::wstring> opened = Rows(wendle);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], rows[0]);
  EXPECT_EQ(opened[1].substr(opened[1].size() - rows[1].size()), rows[1]);
  // The status bar describes the selected object, its path included.
  wendle.Key(VK_DOWN);
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText().find("\\旋律🎶.WAV") != std::string::npos; }))
      << wendle.StatusText();
}

// Earlier versions wrote the ANSI code page: here 1252, accented letters as
// single bytes. Such a list reads with its accents and plays.
TEST_F(UnicodeNamesTest, AListInCodePage1252FromEarlierVersionsReadsAndPlays) {
  bench::WriteMarkedWave("Château.wav", 23, 200);
  ASSERT_TRUE(bench::WriteFileBytes(bench::TempPath("legacy.wdl"),
                                    "WDv1.0\nCaf\xE9 cr\xE8me\nCh\xE2teau.wav\n1 0 0 0\n*\nCh\xE2teau.wav\n1 0 0 0\n"));
  size_t from = bench::SinkSize();
  Program wendle("legacy.wdl /play");
  ASSERT_TRUE(wendle.Window());
  EXPECT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{23, 23}));
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
  EXPECT_EQ(Rows(wendle), (std::vector<std::wstring>{L"Café crème", L"Château.wav"}));
}

// What a screen reader reads of the list is each row's text; typing a
// letter moves the selection to the next row that begins with it.
TEST_F(UnicodeNamesTest, RowsHoldTheirTextsAndTypingALetterFindsTheNextRow) {
  ASSERT_TRUE(bench::WriteFileBytes(bench::TempPath("readers.wdl"),
                                    "WDv1.0\n"
                                    "Alpha\nA.WAV\n1 0 0 0\n"
                                    "*\nBRAVO.WAV\n1 0 0 0\n"
                                    "Βήτα\nB.WAV\n1 0 0 0\n"
                                    "*\n*\n4 0 0 3\n"
                                    "Beta\nB.WAV\n1 0 0 0\n"
                                    "*\nPause 2 sec.\n8 0 2 0\n"));
  Program wendle("readers.wdl");
  ASSERT_TRUE(wendle.Window());
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 6; }));
  EXPECT_EQ(Rows(wendle),
            (std::vector<std::wstring>{L"Alpha", L"BRAVO.WAV", L"Βήτα", L"Track:3", L"Beta", L"Pause 2 sec."}));
  HWND list = wendle.Child(IDC_OBJECT_LIST);
  ASSERT_TRUE(wendle.Activate(wendle.Window()));
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Focus() == list; })) << wendle.Describe();
  wendle.Type("b");
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == 1; })) << wendle.ListSelection();
  wendle.Type("b");  // the next one, past the Greek row
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == 4; })) << wendle.ListSelection();
  wendle.Type("Β");  // Wine's list box matches letters beyond ASCII by their case
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == 2; })) << wendle.ListSelection();
  wendle.Type("t");
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == 3; })) << wendle.ListSelection();
  bench::SaveScreenshot(wendle.Window(), "type_to_find");
}

// High contrast: the rows draw in the system's window and highlight
// colours, the labels stand on its button face, and a change of colours
// shows without a restart.
TEST_F(UnicodeNamesTest, InHighContrastRowsAndLabelsTakeTheSystemColours) {
  const int elements[] = {COLOR_WINDOW,        COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
                          COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE,    COLOR_BTNTEXT};
  const COLORREF contrast[] = {RGB(0, 0, 0), RGB(255, 255, 0), RGB(0, 160, 255),
                               RGB(0, 0, 0), RGB(64, 0, 64),   RGB(255, 255, 255)};
  COLORREF kept[6];
  for (int i = 0; i < 6; ++i) kept[i] = GetSysColor(elements[i]);
  HIGHCONTRASTA keptContrast = {};
  keptContrast.cbSize = sizeof keptContrast;
  SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof keptContrast, &keptContrast, 0);

  // Set before the program starts: Wine gives a process the colours of
  // the moment it starts.
  HIGHCONTRASTA on = {};
  on.cbSize = sizeof on;
  on.dwFlags = HCF_HIGHCONTRASTON;
  bool set = SystemParametersInfoA(SPI_SETHIGHCONTRAST, sizeof on, &on, SPIF_SENDCHANGE) != FALSE;
  SetSysColors(6, elements, contrast);  // tells every window
  HIGHCONTRASTA now = {};
  now.cbSize = sizeof now;
  SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof now, &now, 0);
  bool contrastOn = set && (now.dwFlags & HCF_HIGHCONTRASTON);

  ASSERT_TRUE(bench::WriteFileBytes(bench::TempPath("contrast.wdl"),
                                    "WDv1.0\nFirst\nA.WAV\n1 0 0 0\nSecond\nB.WAV\n1 0 0 0\n"));
  Program wendle("contrast.wdl");
  ASSERT_TRUE(wendle.Window());
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 2 && wendle.ListSelection() == 0; }));

  // A pixel of one of the program's windows, read through the main
  // window's device context as the screenshots read it.
  HWND main = wendle.Window();
  auto pixel = [main](HWND window, int x, int y) {
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT outer, inner;
    GetWindowRect(main, &outer);
    GetWindowRect(window, &inner);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP copy = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, copy);
    HDC windowDc = GetWindowDC(main);
    BitBlt(memory, 0, 0, 1, 1, windowDc, inner.left - outer.left + x, inner.top - outer.top + y, SRCCOPY);
    ReleaseDC(main, windowDc);
    GdiFlush();
    COLORREF colour = GetPixel(memory, 0, 0);
    SelectObject(memory, old);
    DeleteObject(copy);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
  };
  HWND list = wendle.Child(IDC_OBJECT_LIST);
  HWND label = wendle.Child(IDC_LABEL_COUNT);
  RECT client;
  GetClientRect(list, &client);
  int right = client.right - 30;  // left of the scroll bar
  EXPECT_TRUE(wendle.WaitFor([&] { return pixel(list, right, 12) == contrast[2]; }, 5000))
      << "selected row " << std::hex << pixel(list, right, 12);
  // Another process's window paints when its own thread gets to it.
  EXPECT_TRUE(wendle.WaitFor([&] { return pixel(list, right, 32) == contrast[0]; }, 5000))
      << "unselected row " << std::hex << pixel(list, right, 32);
  // Wine 8 keeps no high-contrast setting (SPI_GETHIGHCONTRAST answers
  // "off" whatever was set): the labels take the system colours only where
  // it does.
  COLORREF surface = contrastOn ? contrast[4] : RGB(192, 192, 192);  // the classic grey without it
  EXPECT_TRUE(wendle.WaitFor([&] { return pixel(label, 1, 1) == surface; }, 5000))
      << "label " << std::hex << pixel(label, 1, 1);
  bench::SaveScreenshot(wendle.Window(), "high_contrast");

  SetSysColors(6, elements, kept);
  SystemParametersInfoA(SPI_SETHIGHCONTRAST, sizeof keptContrast, &keptContrast, SPIF_SENDCHANGE);
}

}  // namespace
