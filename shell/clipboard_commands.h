/*
 * Cut, Copy and Paste of Sound Objects. The clipboard carries the selected
 * objects as list-file text in a format of Wendle's own (so they go between
 * lists and between running Wendles), and their file names as plain text
 * for other programs; files copied in a folder window paste as objects.
 */
#ifndef WENDLE_CLIPBOARD_COMMANDS_H
#define WENDLE_CLIPBOARD_COMMANDS_H

#include <windows.h>

#include "model/object_list.h"

// Wendle's own clipboard format, "Wendle Sound Objects".
UINT SoundObjectsClipboardFormat();

// Copy: the selected objects to the clipboard; false when nothing is
// selected or the clipboard took nothing.
bool CopySoundObjects(HWND owner, const ObjectList& list);
// Cut: Copy, then the selected objects removed, one edit (no question:
// Undo takes it back); nothing while the list plays.
void CutSoundObjects(HWND owner, ObjectList& list);
// Paste: Wendle's objects, else the files of the clipboard, before the
// first selected object (at the end without one), one edit; the pasted
// objects are selected after.
void PasteSoundObjects(HWND owner, ObjectList& list);
// Whether Paste has anything to take.
bool CanPaste();

#endif
