// The option dialogs driven through the real dialog manager: what each
// applies on OK, stores on Save, refuses, and how each control follows
// the others.
#include <gtest/gtest.h>

#include <string>

#include "bench/test_env.h"
#include "dialog_driver.h"
#include "dialogs/option_dialogs.h"
#include "resources/ids.h"
#include "settings/hot_keys.h"
#include "settings/settings.h"
#include "settings/settings_record.h"

namespace dialogs_test {
namespace {

std::string SettingsKey() { return bench::LanguageString(IDS_REG_SETTINGS_KEY); }
std::string HotKeysKey() { return bench::LanguageString(IDS_REG_HOTKEYS_KEY); }

bool StoredSetting(UINT valueId, DWORD* value) {
  return bench::RegReadDword(SettingsKey(), bench::LanguageString(valueId), value);
}

void ExpectMessage(const bench::ModalRecord& record, UINT textId, UINT icon) {
  EXPECT_TRUE(record.isMessageBox);
  EXPECT_EQ(record.text, bench::LanguageString(textId)) << "message " << textId;
  EXPECT_EQ(record.style & MB_ICONMASK, icon) << "message " << textId;
}

using PlayAllModeTest = DialogTest;

TEST_F(PlayAllModeTest, CountFollowsNonStopAndItsRange) {
  {
    bench::ModalScript modals;
    ActOnDialog(modals, [](HWND window) {
      Dialog dialog(window);
      EXPECT_FALSE(dialog.Checked(IDC_NON_STOP));
      EXPECT_EQ(dialog.Text(IDC_PLAY_LIST_COUNT), "1");
      EXPECT_TRUE(dialog.Click(IDC_NON_STOP));
      EXPECT_FALSE(dialog.Enabled(IDC_PLAY_LIST_COUNT));
      EXPECT_FALSE(dialog.Enabled(IDC_SPIN_COUNT));
      SaveScreenshot(window, "play_all_mode");
      dialog.Click(IDC_OK);
    });
    EXPECT_EQ(PlayAllModeDialog(host_.window()), 1);
    EXPECT_EQ(g_settings.playListCount.load(), 0u);  // non-stop
  }

  // A count out of range applies nothing; an empty field reads as 0.
  {
    bench::ModalScript again;
    ActOnDialog(again, [](HWND window) {
      Dialog dialog(window);
      EXPECT_TRUE(dialog.Checked(IDC_NON_STOP));
      EXPECT_FALSE(dialog.Enabled(IDC_PLAY_LIST_COUNT));
      dialog.Click(IDC_NON_STOP);
      EXPECT_TRUE(dialog.Enabled(IDC_PLAY_LIST_COUNT));
      EXPECT_TRUE(dialog.Enabled(IDC_SPIN_COUNT));
      dialog.Click(IDC_ORDER_RANDOM);
      for (const char* typed : {"70000", "99999"}) {
        dialog.Type(IDC_PLAY_LIST_COUNT, typed);
        dialog.Click(IDC_OK);
        EXPECT_EQ(dialog.Focused(), IDC_PLAY_LIST_COUNT);
        EXPECT_EQ(g_settings.playOrder.load(), PlayOrderSequential);
        EXPECT_EQ(g_settings.playListCount.load(), 0u);
      }
      dialog.Type(IDC_PLAY_LIST_COUNT, "-1");
      EXPECT_EQ(dialog.Text(IDC_PLAY_LIST_COUNT), "1");  // digits only
      dialog.Type(IDC_PLAY_LIST_COUNT, "");
      dialog.Click(IDC_OK);
    });
    again.AnswerMessageBox(IDOK);
    again.AnswerMessageBox(IDOK);
    EXPECT_EQ(PlayAllModeDialog(host_.window()), 1);
    EXPECT_EQ(again.Failures(), 0);
    ExpectMessage(RecordAt(again, 1), IDS_COUNT_OUT_OF_RANGE, MB_ICONEXCLAMATION);
    EXPECT_EQ(RecordAt(again, 1).owner, RecordAt(again, 0).window);
    ExpectMessage(RecordAt(again, 2), IDS_COUNT_OUT_OF_RANGE, MB_ICONEXCLAMATION);
    EXPECT_EQ(g_settings.playListCount.load(), 0u);
    EXPECT_EQ(g_settings.playOrder.load(), PlayOrderRandom);
  }

  // The field takes five characters.
  bench::ModalScript third;
  ActOnDialog(third, [](HWND window) {
    Dialog dialog(window);
    dialog.Click(IDC_NON_STOP);
    dialog.Type(IDC_PLAY_LIST_COUNT, "1234567");
    EXPECT_EQ(dialog.Text(IDC_PLAY_LIST_COUNT), "12345");
    dialog.Click(IDC_OK);
  });
  EXPECT_EQ(PlayAllModeDialog(host_.window()), 1);
  EXPECT_EQ(g_settings.playListCount.load(), 12345u);
}

TEST_F(PlayAllModeTest, ExclusiveIsUsableWithRandomAndKeptWithSequential) {
  g_settings.playOrder = PlayOrderRandom;
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_TRUE(dialog.Checked(IDC_ORDER_RANDOM));
    EXPECT_FALSE(dialog.Enabled(IDC_EXCLUSIVE));  // the bit alone decides at opening
    // Disabled, its label still shows on the grey (greyed, not gone).
    EXPECT_GT(dialog.LabelInk(IDC_EXCLUSIVE), 40);
    dialog.Click(IDC_ORDER_SEQUENTIAL);
    EXPECT_FALSE(dialog.Enabled(IDC_EXCLUSIVE));
    dialog.Click(IDC_ORDER_RANDOM);
    EXPECT_TRUE(dialog.Click(IDC_EXCLUSIVE));
    dialog.Click(IDC_OK);
  });
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_TRUE(dialog.Checked(IDC_EXCLUSIVE));
    EXPECT_TRUE(dialog.Enabled(IDC_EXCLUSIVE));
    dialog.Click(IDC_ORDER_SEQUENTIAL);
    EXPECT_FALSE(dialog.Enabled(IDC_EXCLUSIVE));
    dialog.Click(IDC_OK);
  });
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_TRUE(dialog.Checked(IDC_ORDER_SEQUENTIAL));
    EXPECT_TRUE(dialog.Checked(IDC_EXCLUSIVE));
    EXPECT_TRUE(dialog.Enabled(IDC_EXCLUSIVE));
    dialog.Click(IDCANCEL);
  });
  EXPECT_EQ(PlayAllModeDialog(host_.window()), 1);
  EXPECT_TRUE(g_settings.preferenceFlags & RandomExclusive);
  EXPECT_EQ(g_settings.playOrder.load(), PlayOrderRandom);
  EXPECT_EQ(PlayAllModeDialog(host_.window()), 1);
  EXPECT_EQ(g_settings.playOrder.load(), PlayOrderSequential);
  EXPECT_TRUE(g_settings.preferenceFlags & RandomExclusive);  // kept with Sequential
  EXPECT_EQ(PlayAllModeDialog(host_.window()), 0);
  EXPECT_EQ(modals.Failures(), 0);
}

TEST_F(PlayAllModeTest, SaveStoresCountAndOrderOrStaysOpenWhenItCannot) {
  {
    bench::ModalScript modals;
    ActOnDialog(modals, [](HWND window) {
      Dialog dialog(window);
      dialog.Type(IDC_PLAY_LIST_COUNT, "3");
      dialog.Click(IDC_ORDER_RANDOM);
      dialog.Click(IDC_EXCLUSIVE);
      dialog.Click(IDC_SAVE);
    });
    modals.AnswerMessageBox(IDOK);
    EXPECT_EQ(PlayAllModeDialog(host_.window()), 1);
    EXPECT_EQ(modals.Failures(), 0);
    ExpectMessage(RecordAt(modals, 1), IDS_SETTINGS_SAVED, MB_ICONINFORMATION);
    DWORD stored = 0;
    EXPECT_TRUE(StoredSetting(IDS_REG_PLAY_LIST_COUNT, &stored));
    EXPECT_EQ(stored, 3u);
    EXPECT_TRUE(StoredSetting(IDS_REG_PLAY_ORDER, &stored));
    EXPECT_EQ(stored, PlayOrderRandom);
    // The Exclusive choice is stored with them, and no other preference:
    // the other bits are the defaults, as nothing stored them.
    EXPECT_TRUE(StoredSetting(IDS_REG_PREFERENCES, &stored));
    EXPECT_EQ(stored, kDefaultPreferences | RandomExclusive);
  }

  bench::UnwritableRegistry unwritable;
  bench::ModalScript refused;
  ActOnDialog(refused, [](HWND window) {
    Dialog dialog(window);
    dialog.Type(IDC_PLAY_LIST_COUNT, "4");
    dialog.Click(IDC_SAVE);
    EXPECT_TRUE(IsWindowVisible(window));  // stays open, the choices applied
    EXPECT_EQ(g_settings.playListCount.load(), 4u);
    dialog.Click(IDCANCEL);
  });
  refused.AnswerMessageBox(IDOK);
  EXPECT_EQ(PlayAllModeDialog(host_.window()), 0);
  EXPECT_EQ(refused.Failures(), 0);
  ExpectMessage(RecordAt(refused, 1), IDS_REGISTRY_FAILED, MB_ICONHAND);
  EXPECT_EQ(g_settings.playListCount.load(), 4u);
}

using PreferencesTest = DialogTest;

TEST_F(PreferencesTest, PauseIsTakenOnlyWhenCheckedAndOtherFlagsPassThrough) {
  const uint32_t foreign = RandomExclusive | 0x100;
  g_settings.preferenceFlags |= foreign;
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_TRUE(dialog.Checked(IDC_PREF_TITLE));
    EXPECT_TRUE(dialog.Checked(IDC_PREF_BUTTON_HELP));
    EXPECT_FALSE(dialog.Checked(IDC_PREF_MINIMIZE));
    EXPECT_FALSE(dialog.Checked(IDC_PREF_PAUSE));
    EXPECT_FALSE(dialog.Enabled(IDC_PREF_PAUSE_SECONDS));
    EXPECT_TRUE(dialog.Enabled(IDC_SPIN_PAUSE));
    EXPECT_EQ(dialog.Text(IDC_PREF_PAUSE_SECONDS), "2");
    dialog.Click(IDC_PREF_PAUSE);
    EXPECT_TRUE(dialog.Enabled(IDC_PREF_PAUSE_SECONDS));
    dialog.Type(IDC_PREF_PAUSE_SECONDS, "45");
    dialog.Click(IDC_PREF_PAUSE);  // unchecked again: 45 is dropped
    dialog.Click(IDC_PREF_MINIMIZE);
    SaveScreenshot(window, "preferences");
    dialog.Click(IDC_OK);
  });
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    dialog.Click(IDC_PREF_PAUSE);
    dialog.Type(IDC_PREF_PAUSE_SECONDS, "5000");  // beyond an hour: refused
    dialog.Click(IDC_OK);
    EXPECT_EQ(dialog.Focused(), IDC_PREF_PAUSE_SECONDS);
    dialog.Type(IDC_PREF_PAUSE_SECONDS, "3600");
    dialog.Click(IDC_OK);
  });
  modals.AnswerMessageBox(IDOK);
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    dialog.Type(IDC_PREF_PAUSE_SECONDS, "99999999999");
    dialog.Click(IDC_PREF_TITLE);
    dialog.Click(IDC_OK);  // refused: nothing applied
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(dialog.Focused(), IDC_PREF_PAUSE_SECONDS);
    dialog.Click(IDCANCEL);
  });
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(PreferencesDialog(host_.window()), 1);
  EXPECT_EQ(g_settings.pauseSeconds.load(), 2u);
  EXPECT_EQ(g_settings.preferenceFlags.load(), TitleWhenMinimized | StatusBarButtonHelp | MinimizeOnPlayAll | foreign);
  EXPECT_EQ(PreferencesDialog(host_.window()), 1);
  EXPECT_EQ(g_settings.pauseSeconds.load(), 3600u);
  EXPECT_TRUE(g_settings.preferenceFlags & PauseBetweenObjects);
  uint32_t before = g_settings.preferenceFlags;
  EXPECT_EQ(PreferencesDialog(host_.window()), 0);
  EXPECT_EQ(modals.Failures(), 0);
  const std::string range = bench::LanguageString(IDS_FMT_NUMBER_RANGE);
  EXPECT_EQ(RecordAt(modals, 2).text, range.substr(0, range.find('%')) + "0 to 3600.");
  EXPECT_EQ(RecordAt(modals, 4).text, RecordAt(modals, 2).text);
  EXPECT_EQ(g_settings.preferenceFlags.load(), before);
  EXPECT_EQ(g_settings.pauseSeconds.load(), 3600u);
}

TEST_F(PreferencesTest, SaveTellsTheOutcomeAsTheDialogCloses) {
  {
    bench::ModalScript modals;
    ActOnDialog(modals, [](HWND window) {
      Dialog dialog(window);
      dialog.Click(IDC_PREF_ABSOLUTE_PATHS);
      dialog.Click(IDC_SAVE);
    });
    modals.AnswerMessageBox(IDOK);
    EXPECT_EQ(PreferencesDialog(host_.window()), 1);
    EXPECT_EQ(modals.Failures(), 0);
    ExpectMessage(RecordAt(modals, 1), IDS_SETTINGS_SAVED, MB_ICONINFORMATION);
    EXPECT_EQ(RecordAt(modals, 1).owner, RecordAt(modals, 0).window);
    DWORD stored = 0;
    EXPECT_TRUE(StoredSetting(IDS_REG_PREFERENCES, &stored));
    EXPECT_EQ(stored, kDefaultPreferences | CatalogAbsolutePaths);
    EXPECT_TRUE(StoredSetting(IDS_REG_PAUSE_SECONDS, &stored));
    EXPECT_EQ(stored, kDefaultPauseSeconds);
  }

  // A key that cannot be written: the dialog has closed, the values apply.
  bench::UnwritableRegistry unwritable;
  bench::ModalScript refused;
  ActOnDialog(refused, [](HWND window) {
    Dialog dialog(window);
    dialog.Click(IDC_PREF_MINIMIZE);
    dialog.Click(IDC_SAVE);
  });
  refused.AnswerMessageBox(IDOK);
  EXPECT_EQ(PreferencesDialog(host_.window()), 1);
  ExpectMessage(RecordAt(refused, 1), IDS_REGISTRY_FAILED, MB_ICONHAND);
  EXPECT_TRUE(g_settings.preferenceFlags & MinimizeOnPlayAll);
}

TEST_F(DialogTest, ConfirmationsApplyOnOkAndStoreOnSave) {
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_TRUE(dialog.Checked(IDC_CONFIRM_OBJECT));
    EXPECT_TRUE(dialog.Checked(IDC_CONFIRM_FILE));
    SaveScreenshot(window, "confirmations");
    dialog.Click(IDC_CONFIRM_FILE);
    dialog.Click(IDC_OK);
  });
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_FALSE(dialog.Checked(IDC_CONFIRM_FILE));
    dialog.Click(IDC_CONFIRM_OBJECT);
    dialog.Click(IDC_SAVE);
  });
  modals.AnswerMessageBox(IDOK);
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    dialog.Click(IDC_CONFIRM_OBJECT);
    dialog.Click(IDCANCEL);
  });
  EXPECT_EQ(ConfirmationsDialog(host_.window()), 1);
  EXPECT_EQ(g_settings.confirmFlags.load(), static_cast<uint32_t>(ConfirmObjectDelete));
  EXPECT_EQ(ConfirmationsDialog(host_.window()), 1);
  EXPECT_EQ(g_settings.confirmFlags.load(), 0u);
  DWORD stored = 99;
  EXPECT_TRUE(StoredSetting(IDS_REG_CONFIRMATIONS, &stored));
  EXPECT_EQ(stored, 0u);
  EXPECT_EQ(ConfirmationsDialog(host_.window()), 0);
  EXPECT_EQ(g_settings.confirmFlags.load(), 0u);
  EXPECT_EQ(modals.Failures(), 0);
  ExpectMessage(RecordAt(modals, 2), IDS_SETTINGS_SAVED, MB_ICONINFORMATION);
}

TEST_F(DialogTest, TextsStandOnTheGreyOfTheDialog) {
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    HDC dc = GetDC(window);
    for (UINT query : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLORMSGBOX}) {
      SetBkColor(dc, RGB(1, 2, 3));
      auto brush = reinterpret_cast<HBRUSH>(SendMessageA(window, query, reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_PREF_TITLE))));
      LOGBRUSH painted = {};
      ASSERT_TRUE(GetObjectA(brush, sizeof painted, &painted)) << query;
      EXPECT_EQ(brush, GetStockObject(LTGRAY_BRUSH)) << query;
      EXPECT_EQ(GetBkColor(dc), painted.lbColor) << query;  // no lighter box behind a text
    }
    ReleaseDC(window, dc);
    Dialog(window).Click(IDCANCEL);
  });
  EXPECT_EQ(PreferencesDialog(host_.window()), 0);
  EXPECT_EQ(modals.Failures(), 0);
}

using SoundEditorTest = DialogTest;

TEST_F(SoundEditorTest, ShowsEachEditorOrItsDefaultAndStoresUpperCase) {
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_TRUE(dialog.Checked(IDC_EDITOR_WAV));
    EXPECT_EQ(dialog.Text(IDC_COMMAND_LINE), "SNDREC32.EXE");
    dialog.Click(IDC_EDITOR_MIDI);
    EXPECT_EQ(dialog.Text(IDC_COMMAND_LINE), bench::LanguageString(IDS_DEFAULT_MIDI_EDITOR));
    dialog.Type(IDC_COMMAND_LINE, "c:\\tools\\midi edit.exe /x");
    dialog.Click(IDC_EDITOR_MIDI);  // the working editor again: the typed line stays
    EXPECT_EQ(dialog.Text(IDC_COMMAND_LINE), "c:\\tools\\midi edit.exe /x");
    SaveScreenshot(window, "sound_editor");
    dialog.Click(IDC_OK);
  });
  modals.AnswerMessageBox(IDOK);
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_TRUE(dialog.Checked(IDC_EDITOR_MIDI));
    EXPECT_EQ(dialog.Text(IDC_COMMAND_LINE), "C:\\TOOLS\\MIDI EDIT.EXE /X");
    dialog.Type(IDC_COMMAND_LINE, "something");
    dialog.Click(IDC_EDITOR_WAV);  // switching drops what was typed
    EXPECT_EQ(dialog.Text(IDC_COMMAND_LINE), "SNDREC32.EXE");
    dialog.Type(IDC_COMMAND_LINE, "");
    dialog.Click(IDC_OK);  // empty: nothing stored, nothing said
  });
  EXPECT_EQ(SoundEditorDialog(host_.window(), 0), 1);
  std::string stored;
  EXPECT_TRUE(bench::RegReadString(SettingsKey(), bench::LanguageString(IDS_REG_MIDI_EDITOR), &stored));
  EXPECT_EQ(stored, "C:\\TOOLS\\MIDI EDIT.EXE /X");
  EXPECT_EQ(SoundEditorDialog(host_.window(), 2), 1);
  EXPECT_FALSE(bench::RegReadString(SettingsKey(), bench::LanguageString(IDS_REG_WAV_EDITOR), &stored));
  EXPECT_EQ(modals.Failures(), 0);
  ASSERT_EQ(modals.Records().size(), 3u);
  ExpectMessage(RecordAt(modals, 1), IDS_SETTINGS_SAVED, MB_ICONINFORMATION);
}

TEST_F(SoundEditorTest, BrowseLongLinesAndAnUnwritableKey) {
  const std::string editor = bench::TempPath("EDITOR.EXE");
  ASSERT_TRUE(bench::WriteFileBytes(editor, "MZ"));
  {
    bench::ModalScript modals;
    ActOnDialog(modals, [&](HWND window) {
      Dialog dialog(window);
      dialog.Click(IDC_BROWSE);
      EXPECT_EQ(lstrcmpiA(dialog.Text(IDC_COMMAND_LINE).c_str(), editor.c_str()), 0) << dialog.Text(IDC_COMMAND_LINE);
      dialog.Type(IDC_COMMAND_LINE, "");
      dialog.Paste(IDC_COMMAND_LINE, std::string(600, 'e'));
      EXPECT_EQ(dialog.Text(IDC_COMMAND_LINE).size(), 511u);  // what a stored line can hold
      dialog.Click(IDC_OK);
    });
    modals.ChooseFile(editor);
    modals.AnswerMessageBox(IDOK);
    EXPECT_EQ(SoundEditorDialog(host_.window(), 1), 1);
    EXPECT_EQ(modals.Failures(), 0);
    const bench::ModalRecord& browse = RecordAt(modals, 1);
    EXPECT_TRUE(browse.isFileDialog);
    EXPECT_EQ(browse.title, "Browsing for your Sound Editor");
    EXPECT_EQ(browse.fileName, "*.exe");
    EXPECT_EQ(browse.filters, (std::vector<std::string>{"EXE files", "All files"}));
    std::string stored;
    EXPECT_TRUE(bench::RegReadString(SettingsKey(), bench::LanguageString(IDS_REG_WAV_EDITOR), &stored));
    EXPECT_EQ(stored, std::string(511, 'E'));
  }

  bench::UnwritableRegistry unwritable;
  bench::ModalScript refused;
  ActOnDialog(refused, [](HWND window) {
    Dialog dialog(window);
    dialog.Click(IDC_OK);
    EXPECT_TRUE(IsWindowVisible(window));  // stays open for another try
    dialog.Click(IDCANCEL);
  });
  refused.AnswerMessageBox(IDOK);
  EXPECT_EQ(SoundEditorDialog(host_.window(), 1), 0);
  EXPECT_EQ(refused.Failures(), 0);
  ExpectMessage(RecordAt(refused, 1), IDS_REGISTRY_FAILED, MB_ICONHAND);
}

class HotKeysTest : public DialogTest {
 protected:
  void TearDown() override {
    UnregisterHotKeys(host_.window());
    DialogTest::TearDown();
  }
  static LRESULT Selected(const Dialog& dialog) {
    return SendMessageA(dialog.Item(IDC_VIRTUAL_KEY), CB_GETCURSEL, 0, 0);
  }
};

TEST_F(HotKeysTest, ChangeRegistersOrShowsTheKeyThePlatformRefuses) {
  // Another window holds Control+Alt+S, the default of Start/Stop Play All.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(RegisterHotKey(other, 1, MOD_CONTROL | MOD_ALT, 'S'));
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_TRUE(dialog.Checked(IDC_HOTKEY_PLAY_NEXT));
    EXPECT_EQ(SendMessageA(dialog.Item(IDC_VIRTUAL_KEY), CB_GETCOUNT, 0, 0), 26);
    EXPECT_EQ(Selected(dialog), 13);  // N
    EXPECT_TRUE(dialog.Checked(IDC_KEY_CONTROL));
    EXPECT_TRUE(dialog.Checked(IDC_KEY_ALT));
    SaveScreenshot(window, "hot_keys");
    dialog.Click(IDC_OK);  // refused: the dialog shows Start/Stop Play All
    EXPECT_TRUE(dialog.Checked(IDC_HOTKEY_PLAY_ALL));
    EXPECT_FALSE(dialog.Checked(IDC_HOTKEY_PLAY_NEXT));
    EXPECT_EQ(Selected(dialog), 18);  // S
    EXPECT_EQ(dialog.Focused(), IDC_VIRTUAL_KEY);
    dialog.ChooseLetter(IDC_VIRTUAL_KEY, 'T');
    dialog.Click(IDC_OK);
  });
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(HotKeysDialog(host_.window()), 1);
  EXPECT_EQ(modals.Failures(), 0);
  ExpectMessage(RecordAt(modals, 1), IDS_HOTKEY_CHANGE_FAILED, MB_ICONEXCLAMATION);
  EXPECT_EQ(RecordAt(modals, 1).owner, RecordAt(modals, 0).window);
  EXPECT_EQ(g_settings.hotKeys[1].keyIndex, 19u);
  // Control+Alt+T is the main window's now.
  EXPECT_FALSE(RegisterHotKey(other, 2, MOD_CONTROL | MOD_ALT, 'T'));
  UnregisterHotKey(other, 1);
  DestroyWindow(other);
}

// A letter alone would vanish from typing on the whole desktop: OK and Save
// refuse a key without Control or Alt, and show it.
TEST_F(HotKeysTest, AKeyWithoutControlOrAltIsRefused) {
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    dialog.Click(IDC_HOTKEY_FAVORITE);
    dialog.Click(IDC_KEY_CONTROL);
    dialog.Click(IDC_KEY_ALT);
    dialog.Click(IDC_HOTKEY_PLAY_NEXT);
    for (int button : {IDC_SAVE, IDC_OK}) {
      dialog.Click(button);
      EXPECT_TRUE(IsWindowVisible(window));
      EXPECT_TRUE(dialog.Checked(IDC_HOTKEY_FAVORITE)) << button;
      EXPECT_EQ(dialog.Focused(), IDC_KEY_CONTROL) << button;
    }
    dialog.Click(IDC_KEY_ALT);
    dialog.Click(IDC_OK);
  });
  modals.AnswerMessageBox(IDOK);
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(HotKeysDialog(host_.window()), 1);
  EXPECT_EQ(modals.Failures(), 0);
  ExpectMessage(RecordAt(modals, 1), IDS_HOTKEY_NEEDS_MODIFIER, MB_ICONEXCLAMATION);
  ExpectMessage(RecordAt(modals, 2), IDS_HOTKEY_NEEDS_MODIFIER, MB_ICONEXCLAMATION);
  EXPECT_EQ(g_settings.hotKeys[2].modifiers, static_cast<uint32_t>(MOD_ALT));
  DWORD stored = 0;
  EXPECT_FALSE(bench::RegReadDword(HotKeysKey(), bench::LanguageString(IDS_REG_HOTKEY3_MODS), &stored) && stored == 0);
}

TEST_F(HotKeysTest, EditsStayInMemoryAsTakenAndCloseRegistersNothing) {
  ASSERT_EQ(RegisterHotKeys(host_.window()), -1);
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    dialog.ChooseLetter(IDC_VIRTUAL_KEY, 'Q');
    dialog.Click(IDC_KEY_CONTROL);  // taken at once
    EXPECT_EQ(g_settings.hotKeys[0].modifiers, static_cast<uint32_t>(MOD_ALT));
    dialog.Click(IDCANCEL);  // the letter was never taken
  });
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    EXPECT_EQ(Selected(dialog), 13);
    EXPECT_FALSE(dialog.Checked(IDC_KEY_CONTROL));
    dialog.ChooseLetter(IDC_VIRTUAL_KEY, 'Q');
    dialog.Click(IDC_HOTKEY_FAVORITE);  // switching takes the letter
    EXPECT_EQ(Selected(dialog), 5);     // F
    dialog.Click(IDCANCEL);
  });
  EXPECT_EQ(HotKeysDialog(host_.window()), 0);
  EXPECT_EQ(g_settings.hotKeys[0].keyIndex, 13u);
  EXPECT_EQ(HotKeysDialog(host_.window()), 0);
  EXPECT_EQ(g_settings.hotKeys[0].keyIndex, 16u);
  EXPECT_EQ(modals.Failures(), 0);
  // The registration is still Control+Alt+N.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(RegisterHotKey(other, 1, MOD_CONTROL | MOD_ALT, 'N'));
  EXPECT_TRUE(RegisterHotKey(other, 2, MOD_ALT, 'Q'));
  UnregisterHotKey(other, 2);
  DestroyWindow(other);
}

TEST_F(HotKeysTest, SaveStoresResetReloadsAndAKeyOutsideTheLettersIsKept) {
  {
    bench::ModalScript modals;
    ActOnDialog(modals, [](HWND window) {
      Dialog dialog(window);
      dialog.ChooseLetter(IDC_VIRTUAL_KEY, 'Q');
      dialog.Click(IDC_SAVE);
      dialog.Click(IDC_KEY_ALT);
      dialog.ChooseLetter(IDC_VIRTUAL_KEY, 'Z');
      dialog.Click(IDC_RESET);
      EXPECT_EQ(Selected(dialog), 16);
      EXPECT_TRUE(dialog.Checked(IDC_KEY_ALT));
      dialog.Click(IDCANCEL);
    });
    modals.AnswerMessageBox(IDOK);
    EXPECT_EQ(HotKeysDialog(host_.window()), 0);
    EXPECT_EQ(modals.Failures(), 0);
    ExpectMessage(RecordAt(modals, 1), IDS_SETTINGS_SAVED, MB_ICONINFORMATION);
    DWORD stored = 0;
    EXPECT_TRUE(bench::RegReadDword(HotKeysKey(), bench::LanguageString(IDS_REG_HOTKEY1_KEY), &stored));
    EXPECT_EQ(stored, 16u);
    EXPECT_EQ(g_settings.hotKeys[0].keyIndex, 16u);
    EXPECT_EQ(g_settings.hotKeys[0].modifiers, static_cast<uint32_t>(MOD_CONTROL | MOD_ALT));
  }

  // A stored key outside A to Z shows no letter, and saving keeps it
  // instead of storing "no entry" as a letter.
  g_settings.hotKeys[0].keyIndex = 40;
  bench::ModalScript odd;
  ActOnDialog(odd, [](HWND window) {
    Dialog dialog(window);
    EXPECT_EQ(Selected(dialog), CB_ERR);
    dialog.Click(IDC_SAVE);
    dialog.Click(IDCANCEL);
  });
  odd.AnswerMessageBox(IDOK);
  EXPECT_EQ(HotKeysDialog(host_.window()), 0);
  EXPECT_EQ(odd.Failures(), 0);
  DWORD stored = 0;
  EXPECT_TRUE(bench::RegReadDword(HotKeysKey(), bench::LanguageString(IDS_REG_HOTKEY1_KEY), &stored));
  EXPECT_EQ(stored, 40u);
}

// The fourth key, Pause/Resume: shown as Control+Alt+P, changed like the
// others, registered by Change and stored by Save.
TEST_F(HotKeysTest, ThePauseKeyIsChangedRegisteredAndSaved) {
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    dialog.Click(IDC_HOTKEY_PAUSE);
    EXPECT_TRUE(dialog.Checked(IDC_HOTKEY_PAUSE));
    EXPECT_FALSE(dialog.Checked(IDC_HOTKEY_PLAY_NEXT));
    EXPECT_EQ(Selected(dialog), 15);  // P
    EXPECT_TRUE(dialog.Checked(IDC_KEY_CONTROL));
    EXPECT_TRUE(dialog.Checked(IDC_KEY_ALT));
    dialog.ChooseLetter(IDC_VIRTUAL_KEY, 'K');
    dialog.Click(IDC_KEY_CONTROL);
    dialog.Click(IDC_SAVE);
    dialog.Click(IDC_OK);
  });
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(HotKeysDialog(host_.window()), 1);
  EXPECT_EQ(modals.Failures(), 0);
  ExpectMessage(RecordAt(modals, 1), IDS_SETTINGS_SAVED, MB_ICONINFORMATION);
  EXPECT_EQ(g_settings.hotKeys[3].keyIndex, 10u);
  EXPECT_EQ(g_settings.hotKeys[3].modifiers, static_cast<uint32_t>(MOD_ALT));
  DWORD stored = 0;
  EXPECT_TRUE(bench::RegReadDword(HotKeysKey(), bench::LanguageString(IDS_REG_HOTKEY4_KEY), &stored));
  EXPECT_EQ(stored, 10u);
  EXPECT_TRUE(bench::RegReadDword(HotKeysKey(), bench::LanguageString(IDS_REG_HOTKEY4_MODS), &stored));
  EXPECT_EQ(stored, static_cast<DWORD>(MOD_ALT));
  // Alt+K is the main window's now.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(RegisterHotKey(other, 1, MOD_ALT, 'K'));
  DestroyWindow(other);
}

}  // namespace
}  // namespace dialogs_test
