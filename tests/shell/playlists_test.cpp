// Other players' playlists, the recent lists, the last list at start and
// the File keys, through the real program: what is heard, what is on disk,
// what a second start finds.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

using bench::Program;

class Playlists : public bench::ProgramTestBase {
 protected:
  // The files the tests write, gone before each: the temporary folder is
  // the test process's, and a process number comes again.
  void SetUp() override {
    bench::ProgramTestBase::SetUp();
    for (const char* name : {"every.m3u8", "again.wdl", "lists\\party.m3u8"})
      DeleteFileA(bench::TempPath(name).c_str());
  }
};

// "C:\a b\x.wav" as a file URI: "file:///C:/a%20b/x.wav".
std::string FileUri(const std::string& path) {
  std::string uri = "file:///";
  for (char c : path) {
    if (c == '\\')
      uri += '/';
    else if (c == ' ')
      uri += "%20";
    else
      uri += c;
  }
  return uri;
}

// The marked sound "w<mark>.wav" in the test's folder; the playlists lie
// in its "lists" folder below.
std::string Wave(int mark) { return bench::WriteMarkedWave("w" + std::to_string(mark) + ".wav", mark, 150); }

std::string WriteList(const std::string& name, const std::string& text) {
  CreateDirectoryA(bench::TempPath("lists").c_str(), nullptr);
  std::string path = bench::TempPath("lists\\" + name);
  EXPECT_TRUE(bench::WriteFileBytes(path, text));
  return path;
}

// Plays the playlist with "/play" and gives the marks the sink received.
std::vector<int> PlayedMarks(const std::string& name, const std::string& text, size_t expected) {
  WriteList(name, text);
  size_t from = bench::SinkSize();
  Program wendle("lists\\" + name + " /play");
  EXPECT_TRUE(wendle.Window());
  std::vector<int> marks = bench::WaitForMarks(from, expected);
  EXPECT_EQ(wendle.ListCount(), static_cast<int>(expected)) << wendle.Describe();
  return marks;
}

// Opens a file through Ctrl+O and the Open dialog; a list with changes is
// not saved.
testing::AssertionResult OpenByKeys(Program& wendle, const std::string& path, bool changed = false) {
  wendle.Key('O', true);
  HWND open = wendle.WaitForDialog();
  if (open && changed) {
    wendle.PressButton(open, IDNO);
    open = wendle.WaitForDialog(10000, open);
  }
  if (!open) return testing::AssertionFailure() << "no Open dialog; " << wendle.Describe();
  testing::AssertionResult typed = wendle.TypeInto(bench::FileNameField(open), path);
  if (!typed) return typed;
  wendle.KeyIn(open, VK_RETURN);
  return testing::AssertionSuccess();
}

// Each format, each form of name: relative with either slash and "..",
// full, and a file URI; the order is the playlist's (PLS: its numbers).
TEST_F(Playlists, EveryFormatOpenedWithPlayIsHeardInItsOrder) {
  const std::string w1 = Wave(1), w2 = Wave(2), w3 = Wave(3), w4 = Wave(4);
  EXPECT_EQ(PlayedMarks(
                "mix.m3u",
                "#EXTM3U\r\n#EXTINF:-1,Second\r\n../w2.wav\r\n..\\w1.wav\r\n" + FileUri(w4) + "\r\n" + w3 + "\r\n", 4),
            (std::vector<int>{2, 1, 4, 3}));
  EXPECT_EQ(PlayedMarks("mix.m3u8", "\xEF\xBB\xBF#EXTM3U\n" + FileUri(w3) + "\n../w1.wav\n", 2),
            (std::vector<int>{3, 1}));
  EXPECT_EQ(PlayedMarks("mix.pls",
                        "[playlist]\r\nFile2=..\\w1.wav\r\nFile1=../w4.wav\r\nTitle1=Four\r\nFile3=" + w2 +
                            "\r\nNumberOfEntries=3\r\nVersion=2\r\n",
                        3),
            (std::vector<int>{4, 1, 2}));
  EXPECT_EQ(PlayedMarks("mix.wpl",
                        "<?wpl version=\"1.0\"?>\r\n<smil><head><title>Mix</title></head><body><seq>"
                        "<media src=\"..\\w4.wav\"/><media src=\"../w2.wav\"/><media src=\"" +
                            w3 + "\"/></seq></body></smil>\r\n",
                        3),
            (std::vector<int>{4, 2, 3}));
  EXPECT_EQ(PlayedMarks("mix.xspf",
                        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" "
                        "xmlns=\"http://xspf.org/ns/0/\"><trackList>"
                        "<track><location>../w2.wav</location><title>Two</title></track>"
                        "<track><location>" +
                            FileUri(w1) + "</location></track></trackList></playlist>\n",
                        2),
            (std::vector<int>{2, 1}));
}

// What cannot be taken is named in one message and the rest is taken; the
// list is not the whole playlist, so it takes no name from it. A playlist
// that yields nothing, or is no playlist at all, leaves the list alone.
TEST_F(Playlists, WhatCannotBeTakenIsNamedInOneMessage) {
  Wave(1);
  Wave(2);
  bench::WriteFileBytes(bench::TempPath("notes.txt"), "text");
  WriteList("some.m3u8",
            "#EXTM3U\n../w1.wav\nhttp://radio.example/stream\n../gone.wav\n../notes.txt\n#EXTINF:-1,Two\n../w2.wav\n");
  Program wendle("lists\\some.m3u8");
  HWND message = wendle.WaitForDialog();
  ASSERT_TRUE(message) << wendle.Describe();
  std::string text = Program::DialogText(message);
  EXPECT_NE(text.find("3 entries"), std::string::npos) << text;
  for (const char* named : {"Line 3: http://radio.example/stream", "Line 4: ..\\gone.wav", "Line 5: ..\\notes.txt"})
    EXPECT_NE(text.find(named), std::string::npos) << named << " in " << text;
  ASSERT_TRUE(wendle.PressButton(message, IDOK));
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 2; })) << wendle.Describe();
  EXPECT_EQ(wendle.Title().find("SOME"), std::string::npos) << wendle.Title();
  EXPECT_EQ(wendle.WaitForDialog(1000), nullptr) << "a second message";

  // Nothing to take: the list stays as it is.
  std::string binary("#EXTM3U\n../w1.wav\n\0\0\0\x01", 21);
  for (const auto& [name, bytes, reason] :
       {std::make_tuple("binary.m3u8", binary, "binary data"),
        std::make_tuple("web.pls", std::string("[playlist]\nFile1=http://a.example/x.mp3\n"), "web address"),
        std::make_tuple("broken.xspf", std::string("<playlist><trackList><track><location>"), "XML")}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(OpenByKeys(wendle, WriteList(name, bytes), true));
    // The Open dialog may still be on its way out: the message is the
    // dialog without a file name field.
    HWND refused = nullptr;
    std::string said;
    ASSERT_TRUE(wendle.WaitFor([&] {
      refused = wendle.WaitForDialog(500);
      if (refused && bench::FileNameField(refused)) refused = nullptr;
      said = refused ? Program::DialogText(refused) : std::string();
      return !said.empty();
    })) << wendle.Describe();
    EXPECT_NE(said.find(name), std::string::npos) << said << wendle.Describe();
    EXPECT_NE(said.find(reason), std::string::npos) << said;
    ASSERT_TRUE(wendle.PressButton(refused, IDOK));
    EXPECT_EQ(wendle.ListCount(), 2);
  }
}

// A list of every kind saved as M3U8 and opened again is the same list
// (saved back as a list file, it is the list file it came from), and Save
// writes it to its own playlist byte for byte as before.
TEST_F(Playlists, AListOfEveryKindGoesThroughM3u8Unchanged) {
  Wave(1);
  bench::WriteFileBytes(bench::TempPath("tune.mid"), "MThd");
  bench::WriteFileBytes(bench::TempPath("clip.avi"), "RIFF");
  CreateDirectoryA(bench::TempPath("sub dir").c_str(), nullptr);
  bench::WriteFileBytes(bench::TempPath("sub dir\\song #1.mp3"), "ID3");
  bench::WriteFileBytes(bench::TempPath("Gr\xC3\xBC\xC3\x9F"
                                        "e.ogg"),
                        "OggS");
  const std::string listText =
      "WDv1.0\nFirst\nw1.wav\n1 0 0 0\nRepeated\nw1.wav\n1 3 2 0\n*\ntune.mid\n2 0 0 0\nClip\nclip.avi\n16 0 0 "
      "0\nSong\nsub dir\\song #1.mp3\n32 0 0 0\nGr\xC3\xBC\xC3\x9F"
      "e\nGr\xC3\xBC\xC3\x9F"
      "e.ogg\n32 0 0 0\nTrack 5\n*\n4 0 0 5\n*\n*\n8 0 4 0\n\nw1.wav\n1 0 0 0\n";
  const std::string original = bench::TempPath("every.wdl");
  ASSERT_TRUE(bench::WriteFileBytes(original, listText));
  Program wendle("every.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 9; })) << wendle.Describe();

  // Ctrl+Shift+S is Save As.
  const std::string playlist = bench::TempPath("every.m3u8");
  wendle.Key('S', true, false, true);
  HWND save = wendle.WaitForDialog();
  ASSERT_TRUE(save) << wendle.Describe();
  ASSERT_TRUE(wendle.TypeInto(bench::FileNameField(save), playlist));
  wendle.KeyIn(save, VK_RETURN);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Title().find("EVERY.M3U8") != std::string::npos; }))
      << wendle.Describe();
  const std::string written = bench::ReadFileBytes(playlist);
  EXPECT_EQ(written.compare(0, 9, "#EXTM3U\r\n"), 0) << written;
  EXPECT_NE(written.find("\r\nsub dir\\song #1.mp3\r\n"), std::string::npos) << "relative: " << written;
  EXPECT_NE(written.find("Gr\xC3\xBC\xC3\x9F"), std::string::npos) << "UTF-8: " << written;

  // Opened again (Ctrl+O) and saved as a list file: the list file it was.
  ASSERT_TRUE(OpenByKeys(wendle, playlist));
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 9; })) << wendle.Describe();
  const std::string again = bench::TempPath("again.wdl");
  ASSERT_TRUE(wendle.SaveAsByKeys(again));
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Title().find("AGAIN.WDL") != std::string::npos; }))
      << wendle.Describe();
  EXPECT_EQ(bench::ReadFileBytes(again), listText);

  // Opened from the playlist, Ctrl+S writes the playlist, in its format.
  ASSERT_TRUE(OpenByKeys(wendle, playlist));
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Title().find("EVERY.M3U8") != std::string::npos; }));
  ASSERT_TRUE(DeleteFileA(playlist.c_str()));
  wendle.Key('S', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return GetFileAttributesA(playlist.c_str()) != INVALID_FILE_ATTRIBUTES; }))
      << wendle.Describe();
  ASSERT_TRUE(wendle.WaitFor([&] { return bench::ReadFileBytes(playlist).size() == written.size(); }));
  EXPECT_EQ(bench::ReadFileBytes(playlist), written);
}

// A WPL list is read, not written: its first Save asks for a name, and
// offers an M3U8 playlist of the same name.
TEST_F(Playlists, TheFirstSaveOfAWplListAsksForAnM3u8Name) {
  Wave(1);
  WriteList("party.wpl", "<smil><body><seq><media src=\"../w1.wav\"/></seq></body></smil>");
  Program wendle("lists\\party.wpl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; })) << wendle.Describe();
  wendle.Key('S', true);
  HWND save = wendle.WaitForDialog();
  ASSERT_TRUE(save) << wendle.Describe();
  // Enter takes the name offered: the playlist's own, in M3U8, beside it.
  wendle.KeyIn(save, VK_RETURN);
  const std::string m3u8 = bench::TempPath("lists\\party.m3u8");
  ASSERT_TRUE(wendle.WaitFor([&] { return GetFileAttributesA(m3u8.c_str()) != INVALID_FILE_ATTRIBUTES; }))
      << wendle.Describe();
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.Title().find("PARTY.M3U8") != std::string::npos; })) << wendle.Title();
  // The sound lies outside the playlist's folder: its full name.
  EXPECT_EQ(bench::ReadFileBytes(m3u8), "#EXTM3U\r\n" + bench::TempPath("w1.wav") + "\r\n");
}

// The recent lists and the last list, across starts: opened and saved
// lists go to the top of the File menu, a missing one is said and taken
// off, and a start without a list opens the last one with its selection,
// unless the Preferences say not to.
TEST_F(Playlists, RecentListsAndTheLastListOutliveTheProgram) {
  bench::WriteMarkedList(bench::TempPath("a.wdl"), {1, 2, 3});
  bench::WriteMarkedList(bench::TempPath("b.wdl"), {4});
  {
    Program wendle("a.wdl");
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 3; }));
    ASSERT_TRUE(OpenByKeys(wendle, bench::TempPath("b.wdl")));
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 1; })) << wendle.Describe();
    // File, 2: the list opened before, a.
    wendle.Key('F', false, true);
    wendle.Key('2');
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 3; })) << wendle.Describe();
    // The title follows once the list has its file, after the rows.
    EXPECT_TRUE(wendle.WaitFor([&] { return wendle.Title().find("A.WDL") != std::string::npos; })) << wendle.Title();
    wendle.Key(VK_DOWN);
    wendle.Key(VK_DOWN);
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == 2; }));
    wendle.Key(VK_F4, false, true);
    ASSERT_EQ(wendle.WaitForExit(), 0u);
  }
  {
    // The last list, its selection kept; b is now second and gone.
    Program wendle;
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.Title().find("A.WDL") != std::string::npos; }))
        << wendle.Describe();
    EXPECT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == 2; })) << wendle.ListSelection();
    EXPECT_EQ(wendle.ListCount(), 3);
    ASSERT_TRUE(DeleteFileA(bench::TempPath("b.wdl").c_str()));
    wendle.Key('F', false, true);
    wendle.Key('2');
    HWND missing = wendle.WaitForDialog();
    ASSERT_TRUE(missing) << wendle.Describe();
    EXPECT_NE(Program::DialogText(missing).find("b.wdl"), std::string::npos) << Program::DialogText(missing);
    ASSERT_TRUE(wendle.PressButton(missing, IDOK));
    EXPECT_EQ(wendle.ListCount(), 3);
    // Taken off: File, 2 finds nothing now.
    wendle.Key('F', false, true);
    wendle.Key('2');
    wendle.Key(VK_ESCAPE);
    wendle.Key(VK_ESCAPE);
    EXPECT_EQ(wendle.WaitForDialog(1000), nullptr) << wendle.Describe();
    // Ctrl+N: a new list, which the next start does not open.
    wendle.Key('N', true);
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 0; })) << wendle.Describe();
    wendle.Key(VK_F4, false, true);
    ASSERT_EQ(wendle.WaitForExit(), 0u);
  }
  {
    Program wendle;
    ASSERT_TRUE(wendle.Window());
    EXPECT_FALSE(wendle.WaitFor([&] { return wendle.ListCount() > 0; }, 1500)) << wendle.Describe();
    // File, 1 is still a.
    wendle.Key('F', false, true);
    wendle.Key('1');
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 3; })) << wendle.Describe();
    wendle.Key(VK_F4, false, true);
    ASSERT_EQ(wendle.WaitForExit(), 0u);
  }
  // Switched off in the Preferences: a start without a list starts empty.
  bench::WriteProgramSetting("OpenLastList", 0u);
  Program wendle;
  ASSERT_TRUE(wendle.Window());
  EXPECT_FALSE(wendle.WaitFor([&] { return wendle.ListCount() > 0; }, 1500)) << wendle.Describe();
}

}  // namespace
