// The Sound Object dialogs driven through the real dialog manager: the Add
// dialog's kinds and insertion methods, the file, CD-track and Pause
// dialogs in add and modify mode, their refusals and their messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/memory_seam.h"
#include "bench/test_env.h"
#include "dialog_driver.h"
#include "dialogs/kind_item.h"
#include "dialogs/object_dialogs.h"
#include "model/sound_object_kind.h"
#include "resources/ids.h"
#include "settings/settings_record.h"
#include "playback/media_devices.h"

namespace dialogs_test {
namespace {

constexpr UINT kIconMask = MB_ICONMASK;

void ExpectMessage(const bench::ModalRecord& record, UINT textId, UINT icon, HWND owner) {
  EXPECT_TRUE(record.isMessageBox);
  EXPECT_EQ(record.text, bench::LanguageString(textId)) << "message " << textId;
  EXPECT_EQ(record.style & kIconMask, icon) << "message " << textId;
  EXPECT_EQ(record.title, bench::LanguageString(IDS_APP_CAPTION));
  EXPECT_EQ(record.owner, owner) << "message " << textId;
}

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

// A short WAV file in the test's folder, so no question about a missing
// file comes between a test and what it checks.
std::string ExistingWave(const std::string& name) {
  std::string path = bench::TempPath(name);
  EXPECT_TRUE(bench::WriteWaveFile(path, std::string(8, '\x80')));
  return path;
}

// The message that names a number field's range.
std::string RangeMessage(uint32_t minimum, uint32_t maximum) {
  char text[128];
  snprintf(text, sizeof text, bench::LanguageString(IDS_FMT_NUMBER_RANGE).c_str(), minimum, maximum);
  return text;
}

// (kind command, kind bitmap index) of each entry of the kind list; each
// row holds the name it shows, which a screen reader reads.
std::vector<std::pair<int, int>> KindRows(const Dialog& dialog) {
  std::vector<std::pair<int, int>> rows;
  HWND list = dialog.Item(IDC_KIND_LIST);
  int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    auto data = static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, i, 0));
    rows.emplace_back(KindItemCommand(data), KindItemBitmapIndex(data));
    char text[64] = "";
    if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, KindItemText(data)) << "row " << i;
    EXPECT_STRNE(text, "") << "row " << i;
  }
  return rows;
}

using ObjectDialogTest = DialogTest;

TEST_F(ObjectDialogTest, AddDialogListsOnlyTheKindsTheDevicesAllow) {
  using Rows = std::vector<std::pair<int, int>>;
  const std::vector<std::pair<uint32_t, Rows>> cases = {
      {WaveAudio | MidiAudio | AviVideo | CdAudio,
       {{IDK_VIDEO, 4}, {IDK_CD_TRACK, 3}, {IDK_MIDI, 1}, {IDK_WAVE, 0}, {IDK_PAUSE, 2}}},
      {0, {{IDK_PAUSE, 2}}},  // no media device at all
      {WaveAudio | MidiAudio, {{IDK_MIDI, 1}, {IDK_WAVE, 0}, {IDK_PAUSE, 2}}},
      {AviVideo | CdAudio, {{IDK_VIDEO, 4}, {IDK_CD_TRACK, 3}, {IDK_PAUSE, 2}}},
      {WaveAudio | MidiAudio | AudioFiles, {{IDK_MIDI, 1}, {IDK_AUDIO, 5}, {IDK_WAVE, 0}, {IDK_PAUSE, 2}}},
  };
  for (const auto& [caps, expected] : cases) {
    g_mediaCaps = caps;
    bench::ModalScript modals;
    Rows rows;
    ActOnDialog(modals, [&](HWND window) {
      Dialog dialog(window);
      rows = KindRows(dialog);
      EXPECT_EQ(SendMessageA(dialog.Item(IDC_KIND_LIST), LB_GETCURSEL, 0, 0), 0);
      EXPECT_EQ(dialog.Focused(), IDC_KIND_LIST);
      EXPECT_TRUE(dialog.Checked(IDC_INSERT_APPEND));
      if (caps == (WaveAudio | MidiAudio | AviVideo | CdAudio)) SaveScreenshot(window, "add_sound_object");
      dialog.Click(IDCANCEL);
    });
    EXPECT_EQ(AddSoundObjectDialog(host_.window(), host_.objects(), host_.Selected()), 0);
    EXPECT_EQ(rows, expected) << "media caps " << caps;
    EXPECT_EQ(modals.Records().size(), 1u);  // no kind dialog followed
    EXPECT_EQ(modals.Failures(), 0);
  }
}

TEST_F(ObjectDialogTest, ChosenKindOpensItsDialogInAddModeAtTheChosenPlace) {
  AppendObject(Wave, nullptr, "C:\\B.WAV");
  {
    bench::ModalScript modals;
    ActOnDialog(modals, [](HWND window) {
      Dialog dialog(window);
      EXPECT_TRUE(dialog.Click(IDC_INSERT_AT_TOP));
      dialog.DoubleClickEntry(IDC_KIND_LIST, 4);  // Pause
    });
    ActOnDialog(modals, [](HWND window) {
      Dialog dialog(window);
      EXPECT_EQ(dialog.Title(), bench::LanguageString(IDS_TITLE_ADD_PAUSE));
      EXPECT_EQ(dialog.Text(IDC_PAUSE_DURATION), "0");
      SaveScreenshot(window, "pause_object");
      dialog.Type(IDC_PAUSE_DURATION, "7");
      dialog.Click(IDC_OK);
    });
    EXPECT_EQ(AddSoundObjectDialog(host_.window(), host_.objects(), host_.Selected()), 1);
    EXPECT_EQ(modals.Failures(), 0);
    EXPECT_EQ(g_settings.insertionMethod, InsertAtTop);
    ASSERT_EQ(host_.Count(), 2);
    ObjectValues pause = ObjectValuesAt(0);
    EXPECT_EQ(pause.flags, static_cast<uint32_t>(Pause));
    EXPECT_EQ(pause.postDelay, 7u);
    EXPECT_EQ(ObjectValuesAt(1).fileName, "C:\\B.WAV");
    EXPECT_EQ(host_.objects().Modified(), 1);
  }

  // The method stays for the next opening; OK (here by keys) acts like a
  // double-click on the selected kind.
  bench::ModalScript again;
  ActOnDialog(again, [](HWND window) {
    Dialog dialog(window);
    EXPECT_TRUE(dialog.Checked(IDC_INSERT_AT_TOP));
    dialog.ChooseLetter(IDC_KIND_LIST, 'W');  // typed: WAV Files
    dialog.Click(IDOK);
  });
  ActOnDialog(again, [](HWND window) {
    Dialog dialog(window);
    EXPECT_EQ(dialog.Title(), bench::LanguageString(IDS_TITLE_ADD_FILE));
    EXPECT_TRUE(dialog.Visible(IDC_ADD));
    EXPECT_FALSE(dialog.Enabled(IDC_OK));
    EXPECT_FALSE(dialog.Enabled(IDC_ADD));
    EXPECT_EQ(dialog.Text(IDC_REPEAT_COUNT), "0");
    EXPECT_EQ(dialog.Text(IDC_POST_DELAY), "0");
    dialog.Click(IDCANCEL);
  });
  EXPECT_EQ(AddSoundObjectDialog(host_.window(), host_.objects(), host_.Selected()), 1);
  EXPECT_EQ(again.Failures(), 0);
  EXPECT_EQ(again.Pending(), 0u);
  EXPECT_EQ(host_.Count(), 2);
}

TEST_F(ObjectDialogTest, FileDialogTakesAUsableNameOnly) {
  g_mediaCaps = WaveAudio | MidiAudio;  // no video device
  bench::ModalScript modals;
  HWND dialogWindow = nullptr;
  ActOnDialog(modals, [&](HWND window) {
    dialogWindow = window;
    Dialog dialog(window);
    // OK and Add are usable exactly while the name has a character.
    EXPECT_FALSE(dialog.Enabled(IDC_OK));
    dialog.Type(IDC_SOUND_FILE, "A");
    EXPECT_TRUE(dialog.Enabled(IDC_OK));
    EXPECT_TRUE(dialog.Enabled(IDC_ADD));
    dialog.Type(IDC_SOUND_FILE, "");
    EXPECT_FALSE(dialog.Enabled(IDC_OK));
    EXPECT_FALSE(dialog.Enabled(IDC_ADD));

    for (const char* name : {".WAV", "TUNE.TXT"}) {
      dialog.Type(IDC_SOUND_FILE, name);
      dialog.Click(IDC_OK);
      EXPECT_EQ(dialog.Focused(), IDC_SOUND_FILE) << name;
    }
    dialog.Type(IDC_SOUND_FILE, "clip.avi");
    dialog.Click(IDC_OK);
    EXPECT_TRUE(IsWindowVisible(window));
    dialog.Type(IDC_SOUND_FILE, "a.wav");  // five characters are enough
    dialog.Type(IDC_DESCRIPTION, "first");
    // No such file: No keeps the dialog and the input, Yes keeps the name.
    dialog.Click(IDC_OK);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(dialog.Text(IDC_SOUND_FILE), "a.wav");
    EXPECT_EQ(dialog.Text(IDC_DESCRIPTION), "first");
    EXPECT_EQ(host_.Count(), 0);
    dialog.Click(IDC_OK);
  });
  for (int i = 0; i < 3; ++i) modals.AnswerMessageBox(IDOK);
  modals.AnswerMessageBox(IDNO);
  modals.AnswerMessageBox(IDYES);
  EXPECT_EQ(SoundObjectDialog(host_.window(), host_.objects(), AddModeParam(IDK_WAVE, InsertAppend), host_.Selected()),
            1);
  EXPECT_EQ(modals.Failures(), 0);
  ASSERT_EQ(modals.Records().size(), 6u);
  ExpectMessage(RecordAt(modals, 1), IDS_BAD_FILE_NAME, MB_ICONINFORMATION, dialogWindow);
  ExpectMessage(RecordAt(modals, 2), IDS_BAD_FILE_NAME, MB_ICONINFORMATION, dialogWindow);
  ExpectMessage(RecordAt(modals, 3), IDS_DEVICE_MISSING, MB_ICONEXCLAMATION, dialogWindow);
  ExpectMessage(RecordAt(modals, 4), IDS_ASK_KEEP_MISSING, MB_ICONQUESTION, dialogWindow);
  EXPECT_EQ(RecordAt(modals, 4).style & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
  ExpectMessage(RecordAt(modals, 5), IDS_ASK_KEEP_MISSING, MB_ICONQUESTION, dialogWindow);
  ASSERT_EQ(host_.Count(), 1);
  ObjectValues object = ObjectValuesAt(0);
  EXPECT_EQ(object.flags, static_cast<uint32_t>(Wave));
  EXPECT_EQ(object.fileName, "A.WAV");
  EXPECT_EQ(object.description, "first");
}

// Number fields take digits only; OK with a number outside the field's
// range names the range and keeps the dialog and the number typed.
TEST_F(ObjectDialogTest, NumbersOutsideTheirRangeAreRefusedWithTheRange) {
  const std::string wave = ExistingWave("NUMBERS.WAV");
  {
    bench::ModalScript modals;
    HWND objectDialog = nullptr;
    ActOnDialog(modals, [&](HWND window) {
      objectDialog = window;
      Dialog dialog(window);
      dialog.Type(IDC_SOUND_FILE, wave);
      dialog.Type(IDC_REPEAT_COUNT, "-1x2");
      EXPECT_EQ(dialog.Text(IDC_REPEAT_COUNT), "12");  // letters and signs do not go in
      for (const char* typed : {"99999999999", "101"}) {
        dialog.Type(IDC_REPEAT_COUNT, typed);
        dialog.Click(IDC_OK);
        EXPECT_EQ(dialog.Focused(), IDC_REPEAT_COUNT) << typed;
        EXPECT_EQ(dialog.Text(IDC_REPEAT_COUNT), typed);  // left for the user to correct
      }
      dialog.Type(IDC_REPEAT_COUNT, "100");
      dialog.Type(IDC_POST_DELAY, "3601");
      dialog.Click(IDC_OK);
      EXPECT_EQ(dialog.Focused(), IDC_POST_DELAY);
      dialog.Type(IDC_POST_DELAY, "3600");
      dialog.Click(IDC_OK);
    });
    for (int i = 0; i < 3; ++i) modals.AnswerMessageBox(IDOK);
    EXPECT_EQ(
        SoundObjectDialog(host_.window(), host_.objects(), AddModeParam(IDK_WAVE, InsertAppend), host_.Selected()), 1);
    EXPECT_EQ(modals.Failures(), 0);
    ASSERT_EQ(modals.Records().size(), 4u);
    EXPECT_EQ(RecordAt(modals, 1).text, RangeMessage(0, 100));
    EXPECT_EQ(RecordAt(modals, 1).owner, objectDialog);
    EXPECT_EQ(RecordAt(modals, 2).text, RangeMessage(0, 100));
    EXPECT_EQ(RecordAt(modals, 3).text, RangeMessage(0, 3600));
    ASSERT_EQ(host_.Count(), 1);
    EXPECT_EQ(ObjectValuesAt(0).repeatCount, 100u);
    EXPECT_EQ(ObjectValuesAt(0).postDelay, 3600u);
  }

  // Pause durations: 0 to 3600 seconds.
  bench::ModalScript pause;
  ActOnDialog(pause, [&](HWND window) {
    Dialog dialog(window);
    dialog.Type(IDC_PAUSE_DURATION, "999999");
    dialog.Click(IDC_OK);
    EXPECT_TRUE(IsWindowVisible(window));
    dialog.Type(IDC_PAUSE_DURATION, "");
    dialog.Type(IDC_PAUSE_DURATION, "ten");
    EXPECT_EQ(dialog.Text(IDC_PAUSE_DURATION), "");
    dialog.Click(IDC_OK);  // an empty field is no number either
    dialog.Type(IDC_PAUSE_DURATION, "45");
    dialog.Click(IDC_OK);
  });
  pause.AnswerMessageBox(IDOK);
  pause.AnswerMessageBox(IDOK);
  EXPECT_EQ(PauseObjectDialog(host_.window(), host_.objects(), AddModeParam(IDK_PAUSE, InsertAppend), host_.Selected()),
            1);
  EXPECT_EQ(pause.Failures(), 0);
  EXPECT_EQ(RecordAt(pause, 1).text, RangeMessage(0, 3600));
  EXPECT_EQ(RecordAt(pause, 2).text, RangeMessage(0, 3600));
  ObjectValues object = ObjectValuesAt(host_.Count() - 1);
  EXPECT_EQ(object.flags, static_cast<uint32_t>(Pause));
  EXPECT_EQ(object.postDelay, 45u);
}

// A list file keeps "*" for no description, so a description that begins
// with it would be lost at the next save: the object dialogs refuse it and
// keep the input; "*" later in the text is fine.
TEST_F(ObjectDialogTest, ADescriptionBeginningWithAStarIsRefused) {
  bench::ModalScript modals;
  HWND objectDialog = nullptr;
  ActOnDialog(modals, [&](HWND window) {
    objectDialog = window;
    Dialog dialog(window);
    dialog.Type(IDC_SOUND_FILE, ExistingWave("STAR.WAV"));
    dialog.Type(IDC_DESCRIPTION, "*starred");
    dialog.Click(IDC_OK);
    EXPECT_EQ(dialog.Focused(), IDC_DESCRIPTION);
    EXPECT_EQ(dialog.Text(IDC_DESCRIPTION), "*starred");
    dialog.Type(IDC_DESCRIPTION, "starred *");
    dialog.Click(IDC_OK);
  });
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(SoundObjectDialog(host_.window(), host_.objects(), AddModeParam(IDK_WAVE, InsertAppend), host_.Selected()),
            1);
  EXPECT_EQ(modals.Failures(), 0);
  ExpectMessage(RecordAt(modals, 1), IDS_DESCRIPTION_STAR, MB_ICONEXCLAMATION, objectDialog);
  ASSERT_EQ(host_.Count(), 1);
  EXPECT_EQ(ObjectValuesAt(0).description, "starred *");
}

TEST_F(ObjectDialogTest, LongTextsStopAtWhatAnObjectHolds) {
  const std::string longText(600, 'x');
  {
    bench::ModalScript modals;
    ActOnDialog(modals, [&](HWND window) {
      Dialog dialog(window);
      dialog.Paste(IDC_SOUND_FILE, "C:\\" + std::string(508, 'D') + ".WAV");  // 515 characters
      EXPECT_EQ(dialog.Text(IDC_SOUND_FILE).size(), 511u);
      dialog.Type(IDC_SOUND_FILE, ExistingWave("LONG.WAV"));
      dialog.Paste(IDC_DESCRIPTION, longText);
      dialog.Click(IDC_OK);
    });
    EXPECT_EQ(
        SoundObjectDialog(host_.window(), host_.objects(), AddModeParam(IDK_WAVE, InsertAppend), host_.Selected()), 1);
    EXPECT_EQ(modals.Failures(), 0);
    EXPECT_EQ(ObjectValuesAt(0).description, longText.substr(0, 511));
  }

  bench::ModalScript cd;
  ActOnDialog(cd, [&](HWND window) {
    Dialog dialog(window);
    dialog.Paste(IDC_DESCRIPTION, longText);
    EXPECT_EQ(dialog.Text(IDC_DESCRIPTION).size(), 511u);
    dialog.Click(IDCANCEL);
  });
  CdTrackDialog(host_.window(), host_.objects(), AddModeParam(IDK_CD_TRACK, InsertAppend), host_.Selected());
  EXPECT_EQ(cd.Failures(), 0);
}

// In UTF-8 a field's 511 characters can take more than the 511 bytes an
// object holds: such a text is refused, never cut inside a character, and
// one that fits is taken exactly.
TEST_F(ObjectDialogTest, ATextOfMoreBytesThanAnObjectHoldsIsRefused) {
  std::string tooLong, fits;
  for (int i = 0; i < 300; ++i) tooLong += "ж";  // two bytes each: 600
  for (int i = 0; i < 255; ++i) fits += "ж";     // 510
  bench::ModalScript modals;
  HWND objectDialog = nullptr;
  ActOnDialog(modals, [&](HWND window) {
    objectDialog = window;
    Dialog dialog(window);
    dialog.Type(IDC_SOUND_FILE, ExistingWave("ЖУК.WAV"));
    dialog.Paste(IDC_DESCRIPTION, tooLong);
    dialog.Click(IDC_OK);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(dialog.Focused(), IDC_DESCRIPTION);
    EXPECT_EQ(dialog.Text(IDC_DESCRIPTION), tooLong);  // the input kept
    dialog.Type(IDC_DESCRIPTION, fits);
    dialog.Click(IDC_OK);
  });
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(SoundObjectDialog(host_.window(), host_.objects(), AddModeParam(IDK_WAVE, InsertAppend), host_.Selected()),
            1);
  EXPECT_EQ(modals.Failures(), 0);
  ExpectMessage(RecordAt(modals, 1), IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION, objectDialog);
  ASSERT_EQ(host_.Count(), 1);
  EXPECT_EQ(ObjectValuesAt(0).description, fits);
  wchar_t row[300] = L"";
  SendMessageW(host_.list(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row));
  EXPECT_EQ(std::wstring(row), std::wstring(255, L'ж'));
}

TEST_F(ObjectDialogTest, OkThatCannotMakeTheObjectKeepsTheDialogAndTheInput) {
  const std::string bell = ExistingWave("BELL.WAV");
  bench::MemorySeam memory;
  bench::ModalScript modals;
  HWND objectDialog = nullptr;
  ActOnDialog(modals, [&](HWND window) {
    objectDialog = window;
    Dialog dialog(window);
    dialog.Type(IDC_SOUND_FILE, bell);
    dialog.Type(IDC_DESCRIPTION, "bell");
    memory.FailAllocation(1);  // the record: the user is told
    dialog.Click(IDC_OK);
    EXPECT_TRUE(IsWindowVisible(window));
    memory.FailAllocation(3);  // the file name's text: nothing is said
    dialog.Click(IDC_OK);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(host_.Count(), 0);
    EXPECT_EQ(dialog.Text(IDC_SOUND_FILE), bell);
    EXPECT_EQ(dialog.Text(IDC_DESCRIPTION), "bell");
    dialog.Click(IDC_OK);
  });
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(SoundObjectDialog(host_.window(), host_.objects(), AddModeParam(IDK_WAVE, InsertAppend), host_.Selected()),
            1);
  EXPECT_EQ(modals.Failures(), 0);
  ExpectMessage(RecordAt(modals, 1), IDS_OUT_OF_MEMORY, MB_ICONEXCLAMATION, objectDialog);
  ASSERT_EQ(host_.Count(), 1);
  EXPECT_EQ(ObjectValuesAt(0).description, "bell");
}

TEST_F(ObjectDialogTest, AddKeepsTheDialogOpenAndAsksForTheNextFile) {
  const std::string one = ExistingWave("ONE.WAV");
  const std::string two = ExistingWave("TWO.WAV");
  AppendObject(Wave, nullptr, "C:\\OLD.WAV");
  bench::ModalScript modals;
  ActOnDialog(modals, [&](HWND window) {
    Dialog dialog(window);
    // The picture for the user's guide shows a name from a user's folder.
    dialog.Type(IDC_SOUND_FILE, "C:\\users\\Public\\Music\\MORNING.WAV");
    dialog.Type(IDC_DESCRIPTION, "Morning birds");
    dialog.Type(IDC_REPEAT_COUNT, "3");
    dialog.Type(IDC_POST_DELAY, "9");
    SaveScreenshot(window, "sound_object_add");
    dialog.Type(IDC_SOUND_FILE, one);
    dialog.Type(IDC_DESCRIPTION, "one");
    dialog.Click(IDC_ADD);
    // The file dialog opens by itself for the next file.
    EXPECT_TRUE(bench::PumpUntil([&] { return !dialog.Text(IDC_SOUND_FILE).empty(); }));
    EXPECT_EQ(lstrcmpiA(dialog.Text(IDC_SOUND_FILE).c_str(), two.c_str()), 0) << dialog.Text(IDC_SOUND_FILE);
    EXPECT_EQ(dialog.Text(IDC_DESCRIPTION), "");
    EXPECT_EQ(dialog.Text(IDC_REPEAT_COUNT), "3");
    EXPECT_EQ(dialog.Text(IDC_POST_DELAY), "9");
    EXPECT_EQ(dialog.Focused(), IDC_DESCRIPTION);

    // Cancelling the next file dialog leaves the dialog open and empty.
    dialog.Click(IDC_ADD);
    EXPECT_TRUE(WaitForModals(modals));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(dialog.Text(IDC_SOUND_FILE), "");
    EXPECT_EQ(dialog.Text(IDC_DESCRIPTION), "");
    EXPECT_EQ(dialog.Text(IDC_REPEAT_COUNT), "3");
    EXPECT_FALSE(dialog.Enabled(IDC_ADD));
    dialog.Click(IDCANCEL);
  });
  modals.AnswerMessageBox(IDOK);
  modals.ChooseFile(two);
  modals.AnswerMessageBox(IDOK);
  modals.CancelFileDialog();
  EXPECT_EQ(SoundObjectDialog(host_.window(), host_.objects(), AddModeParam(IDK_WAVE, InsertAtTop), host_.Selected()),
            0);
  EXPECT_EQ(modals.Failures(), 0);
  EXPECT_EQ(modals.Pending(), 0u);
  ExpectMessage(RecordAt(modals, 1), IDS_OBJECT_ADDED, MB_ICONINFORMATION, RecordAt(modals, 0).window);
  EXPECT_TRUE(RecordAt(modals, 2).isFileDialog);
  ASSERT_FALSE(RecordAt(modals, 2).filters.empty());
  EXPECT_TRUE(StartsWith(RecordAt(modals, 2).filters[0], "WAV files")) << RecordAt(modals, 2).filters[0];

  // Each Add inserted at the top: the later file stands first.
  ASSERT_EQ(host_.Count(), 3);
  ObjectValues second = ObjectValuesAt(0), first = ObjectValuesAt(1);
  EXPECT_EQ(lstrcmpiA(second.fileName.c_str(), two.c_str()), 0);
  EXPECT_FALSE(second.hasDescription);
  EXPECT_EQ(second.repeatCount, 3u);
  EXPECT_EQ(second.postDelay, 9u);
  EXPECT_EQ(lstrcmpiA(first.fileName.c_str(), one.c_str()), 0);
  EXPECT_EQ(first.description, "one");
  EXPECT_EQ(ObjectValuesAt(2).fileName, "C:\\OLD.WAV");
}

TEST_F(ObjectDialogTest, ModifyOpensTheDialogOfTheObjectsKindAndReplacesInPlace) {
  AppendObject(Wave, "a", "C:\\A.WAV");
  AppendObject(Pause, nullptr, "Pause 5000 sec.", 0, 0, 5000);
  AppendObject(CdTrack, "four", nullptr, 4, 1, 2);
  AppendObject(Midi, "song", "C:\\SONG.MID", 0, 500, 30);
  host_.objects().SetModified(false);

  {
    bench::ModalScript modals;
    ActOnDialog(modals, [](HWND window) {
      Dialog dialog(window);
      EXPECT_EQ(dialog.Title(), "Modify Sound Object");
      EXPECT_FALSE(dialog.Visible(IDC_ADD));
      EXPECT_EQ(dialog.Text(IDC_SOUND_FILE), "C:\\SONG.MID");
      EXPECT_EQ(dialog.Text(IDC_DESCRIPTION), "song");
      // Numbers beyond the spins' ranges are shown, and kept, as they are.
      EXPECT_EQ(dialog.Text(IDC_REPEAT_COUNT), "500");
      EXPECT_EQ(dialog.Text(IDC_POST_DELAY), "30");
      SaveScreenshot(window, "sound_object_modify");
      dialog.Click(IDC_BROWSE);  // offers MIDI files: the object is a MIDI file
      dialog.Type(IDC_DESCRIPTION, "tune");
      dialog.Click(IDC_OK);
    });
    modals.CancelFileDialog();
    EXPECT_EQ(ModifySoundObjectDialog(host_.window(), host_.objects(), 3), 1);
    EXPECT_EQ(modals.Failures(), 0);
    ASSERT_TRUE(RecordAt(modals, 1).isFileDialog);
    ASSERT_FALSE(RecordAt(modals, 1).filters.empty());
    EXPECT_TRUE(StartsWith(RecordAt(modals, 1).filters[0], "MIDI files")) << RecordAt(modals, 1).filters[0];
    ASSERT_EQ(host_.Count(), 4);
    ObjectValues song = ObjectValuesAt(3);
    EXPECT_EQ(song.flags, static_cast<uint32_t>(Midi));
    EXPECT_EQ(song.fileName, "C:\\SONG.MID");
    EXPECT_EQ(song.description, "tune");
    EXPECT_EQ(song.repeatCount, 500u);
    EXPECT_EQ(song.postDelay, 30u);
    EXPECT_EQ(host_.objects().Modified(), 1);

    // A Pause object and a CD track open their own dialogs; Cancel and
    // Close change nothing.
    host_.objects().SetModified(false);
  }
  bench::ModalScript others;
  ActOnDialog(others, [](HWND window) {
    Dialog dialog(window);
    EXPECT_EQ(dialog.Title(), "Modify Pause Object");
    EXPECT_EQ(dialog.Text(IDC_PAUSE_DURATION), "5000");
    dialog.Click(IDCANCEL);
  });
  ActOnDialog(others, [](HWND window) {
    Dialog dialog(window);
    EXPECT_EQ(dialog.Title(), "Modify CD Track");
    EXPECT_FALSE(dialog.Visible(IDC_ADD));
    EXPECT_EQ(dialog.Text(IDC_TRACK_NUMBER), "4");
    EXPECT_EQ(dialog.Text(IDC_DESCRIPTION), "four");
    EXPECT_EQ(dialog.Text(IDC_REPEAT_COUNT), "1");
    dialog.Click(IDCANCEL);
  });
  EXPECT_EQ(ModifySoundObjectDialog(host_.window(), host_.objects(), 1), 0);
  EXPECT_EQ(ModifySoundObjectDialog(host_.window(), host_.objects(), 2), 0);
  EXPECT_EQ(others.Failures(), 0);
  EXPECT_EQ(host_.objects().Modified(), 0);
  EXPECT_EQ(ObjectValuesAt(1).postDelay, 5000u);
}

TEST_F(ObjectDialogTest, ModifyBeyondWhatTheDialogsAddressIsRefusedNotMisread) {
  std::vector<SoundObjectHandle> filler(kMaxModifyIndex);
  for (SoundObjectHandle& handle : filler) handle = MakeFileObject(Wave, "A.WAV", 0);
  host_.objects().InsertMany(-1, filler.data(), kMaxModifyIndex);
  ASSERT_EQ(AppendObject(Pause, nullptr, "Pause 3 sec.", 0, 0, 3), kMaxModifyIndex);
  ASSERT_EQ(AppendObject(Pause, nullptr, "Pause 4 sec.", 0, 0, 4), kMaxModifyIndex + 1);

  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_EQ(dialog.Text(IDC_PAUSE_DURATION), "3");  // the last index the dialogs carry
    dialog.Click(IDCANCEL);
  });
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(ModifySoundObjectDialog(host_.window(), host_.objects(), kMaxModifyIndex), 0);
  EXPECT_EQ(ModifySoundObjectDialog(host_.window(), host_.objects(), kMaxModifyIndex + 1), 0);
  EXPECT_EQ(modals.Failures(), 0);
  ASSERT_EQ(modals.Records().size(), 2u);
  ExpectMessage(RecordAt(modals, 1), IDS_MODIFY_INDEX_TOO_FAR, MB_ICONEXCLAMATION, host_.window());
}

TEST_F(ObjectDialogTest, CdTrackDialogWithoutADiscRefusesEveryTrack) {
  bench::ModalScript modals;
  HWND cdDialog = nullptr;
  ActOnDialog(modals, [&](HWND window) {
    cdDialog = window;
    Dialog dialog(window);
    EXPECT_EQ(dialog.Title(), bench::LanguageString(IDS_TITLE_ADD_FILE));
    EXPECT_TRUE(dialog.Visible(IDC_ADD));
    EXPECT_FALSE(dialog.Enabled(IDC_STOP));
    EXPECT_EQ(dialog.Text(IDC_TRACK_NUMBER), "1");
    EXPECT_EQ(dialog.Text(IDC_REPEAT_COUNT), "0");
    SaveScreenshot(window, "cd_track");
    for (int button : {IDC_OK, IDC_ADD, IDC_TEST}) {
      EXPECT_TRUE(dialog.Click(button));
      EXPECT_EQ(dialog.Focused(), IDC_TRACK_NUMBER) << button;
    }
    EXPECT_TRUE(dialog.Enabled(IDC_TEST));
    EXPECT_FALSE(dialog.Enabled(IDC_STOP));
    dialog.Click(IDC_ADD_ALL_CD_TRACKS);  // No: stays
    EXPECT_TRUE(IsWindowVisible(window));
    dialog.Click(IDC_ADD_ALL_CD_TRACKS);  // Yes: the main window adds them
  });
  for (int i = 0; i < 3; ++i) modals.AnswerMessageBox(IDOK);
  modals.AnswerMessageBox(IDNO);
  modals.AnswerMessageBox(IDYES);
  EXPECT_EQ(CdTrackDialog(host_.window(), host_.objects(), AddModeParam(IDK_CD_TRACK, InsertAppend), host_.Selected()),
            1);
  EXPECT_EQ(modals.Failures(), 0);
  EXPECT_EQ(g_cdTrackCount.load(), 0);
  ExpectMessage(RecordAt(modals, 1), IDS_TRACK_OUT_OF_RANGE, MB_ICONINFORMATION, cdDialog);
  ExpectMessage(RecordAt(modals, 2), IDS_TRACK_OUT_OF_RANGE, MB_ICONINFORMATION, cdDialog);
  ExpectMessage(RecordAt(modals, 3), IDS_TRACK_OUT_OF_RANGE, MB_ICONEXCLAMATION, cdDialog);
  ExpectMessage(RecordAt(modals, 4), IDS_ASK_ADD_ALL_TRACKS, MB_ICONQUESTION, cdDialog);
  EXPECT_EQ(RecordAt(modals, 4).style & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
  EXPECT_EQ(host_.Count(), 0);
  auto posted = host_.TakePostedCommands();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].first, IDM_OPT_ADD_ALL_CD_TRACKS);
}

}  // namespace
}  // namespace dialogs_test
