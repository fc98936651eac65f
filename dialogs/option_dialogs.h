/*
 * The option dialogs: Play All Mode (2000), Preferences (2001),
 * Confirmations (2002), Set Sound File Editor (2009) and Modify Hot Keys
 * (2008). Each runs modally and applies its choices to g_settings at once;
 * Save buttons also store them. The result is 1 after OK, Save or a
 * successful Change, 0 after Cancel or Close.
 */
#ifndef WENDLE_OPTION_DIALOGS_H
#define WENDLE_OPTION_DIALOGS_H

#include <windows.h>

#include <cstddef>

INT_PTR PlayAllModeDialog(HWND owner);
INT_PTR PreferencesDialog(HWND owner);
INT_PTR ConfirmationsDialog(HWND owner);
// editorKind 2 opens on the MIDI editor, any other value on the WAV editor.
INT_PTR SoundEditorDialog(HWND owner, int editorKind);
INT_PTR HotKeysDialog(HWND owner);
// Find (320): the text to look for, shown and returned in text (size
// bytes); 1 after Find Next with a text, 0 otherwise.
INT_PTR FindDialog(HWND owner, char* text, size_t size);

#endif
