/*
 * VI32RID.dll, the support library. Its operations are exported by ordinal
 * only; the import library binds these declarations to those ordinals.
 */
#ifndef WENDLE_SUPPORT_LIBRARY_H
#define WENDLE_SUPPORT_LIBRARY_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Ordinals of VI32RID.dll */
#define ORD_SHOW_ABOUT_BOX          2
#define ORD_CENTER_DIALOG           3
#define ORD_DRAW_3D_PANEL           6
#define ORD_DRAW_3D_BORDER          7
#define ORD_IS_IN_RANGE             8
#define ORD_LOAD_WINDOW_PLACEMENT   9
#define ORD_SAVE_WINDOW_PLACEMENT   10
#define ORD_FIND_PREVIOUS_INSTANCE  11
#define ORD_RES_MESSAGE_BOX         13
#define ORD_DRAW_TRANSPARENT_BITMAP 16
#define ORD_PLAY_VIDEO_FILE         17
#define ORD_PLAY_CD_TRACK           18
#define ORD_PLAY_MIDI_FILE          19
#define ORD_PLAY_WAVE_FILE          20
#define ORD_BROWSE_FOR_FILE         21
#define ORD_GET_CD_TRACK_COUNT      24
#define ORD_GET_LAST_PLAY_INFO      25
#define ORD_GET_LAST_PLAY_ERROR     27
#define ORD_PLAY_AUDIO_FILE         28

/* Filter kinds of BrowseForFile */
#define BROWSE_WAV_AND_MIDI 2
#define BROWSE_AVI          3
#define BROWSE_MIDI         4
#define BROWSE_WAV          5
#define BROWSE_AUDIO        6 /* compressed sound files */
#define BROWSE_ALL_SOUNDS   7 /* WAV, MIDI and compressed sound files */

/* Modal About box owned by owner: icon iconId and the strings captionId,
   line1Id..line3Id, all read from module. flags is reserved (callers pass 2). */
int WINAPI ShowAboutBox(HWND owner, HINSTANCE module, UINT iconId, UINT captionId, UINT line1Id, UINT line2Id,
                        UINT line3Id, UINT flags);
/* Centre dialog on parent, kept inside the work area of its monitor. */
BOOL WINAPI CenterDialog(HWND parent, HWND dialog);
/* Raised (raised != 0) or pressed panel filling rect; width is the edge width. */
void WINAPI Draw3DPanel(HDC dc, const RECT* rect, BOOL raised, int width);
/* 3-D frame along rect: highlight on top/left, shadow on bottom/right. */
void WINAPI Draw3DBorder(HDC dc, const RECT* rect, int insetX, int insetY, COLORREF highlight, COLORREF shadow,
                         COLORREF face, int widthX, int widthY);
/* Non-zero when minimum <= value <= maximum. */
BOOL WINAPI IsInRange(DWORD value, DWORD minimum, DWORD maximum);
/* rect receives x, y, width, height (left, top, right, bottom in that order). */
BOOL WINAPI LoadWindowPlacement(LPCSTR keyPath, LPCSTR valueName, RECT* rect, int* maximized);
BOOL WINAPI SaveWindowPlacement(HWND window, LPCSTR keyPath, LPCSTR valueName);
BOOL WINAPI FindPreviousInstance(LPCSTR className, LPCSTR windowName);
/* text and caption: a string id of module (below 0x10000) or a ready text. */
int WINAPI ResMessageBox(HWND owner, HINSTANCE module, LPCSTR text, LPCSTR caption, UINT style);
/* Copies source to target except pixels of the target's background colour. */
BOOL WINAPI DrawTransparentBitmap(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                                  int sourceY);
/* Start playing with MM_MCINOTIFY to notifyWindow; non-zero when started. */
BOOL WINAPI PlayVideoFile(HWND notifyWindow, LPCSTR path);
BOOL WINAPI PlayCdTrack(HWND notifyWindow, BYTE track, BYTE trackCount);
BOOL WINAPI PlayMidiFile(HWND notifyWindow, LPCSTR path, DWORD reserved);
BOOL WINAPI PlayWaveFile(HWND notifyWindow, LPCSTR path);
/* A compressed sound file (MP3, WMA, FLAC, Ogg, Opus, AAC) through MCI
   "mpegvideo". Its notice names no device (lParam 0). A null notifyWindow
   plays without a notice. */
BOOL WINAPI PlayAudioFile(HWND notifyWindow, LPCSTR path);
/* File-open dialog; buffer holds 512 characters. Non-zero when chosen. */
BOOL WINAPI BrowseForFile(HWND owner, int filterKind, LPSTR buffer, DWORD reserved);
/* The bound for track numbers on the disc in the first CD-audio drive: the
   number of its last audio track (on a disc that begins with a data track,
   more than the count of audio tracks); 0 for no disc or no audio. */
UINT WINAPI GetCdTrackCount(DWORD reserved);
/* The MCI device of the last play that the calling thread started (0 when
   that start failed), and in *lengthMs (may be null) the length of what it
   plays in milliseconds. A completion notice names its device; the length
   bounds the wait for it. */
UINT WINAPI GetLastPlayInfo(DWORD* lengthMs);
/* Why the last play that the calling thread tried did not start: an MCI
   error (mciGetErrorString describes it), or 0 when it started. */
DWORD WINAPI GetLastPlayError(void);

#ifdef __cplusplus
}
#endif

#endif
