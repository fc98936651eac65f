/*
 * Wendle: every command, control, resource and string id in one place.
 *
 * This header is shared by the C++ code and by the resource scripts
 * (windres), so it holds nothing but #define lines.
 */
#ifndef WENDLE_IDS_H
#define WENDLE_IDS_H

/* ---- Menu commands (WM_COMMAND ids) ---------------------------------- */
#define IDM_FILE_NEW     100
#define IDM_FILE_OPEN    101
#define IDM_FILE_INSERT  102
#define IDM_FILE_APPEND  103
#define IDM_FILE_SAVE    104
#define IDM_FILE_SAVE_AS 105
#define IDM_FILE_EXIT    106
/* The File menu's recent lists, most recent first (IDM_RECENT_LIST_FIRST
 * + n for the n-th from 0); the items are made at run time. */
#define IDM_RECENT_LIST_FIRST 107
#define IDM_RECENT_LIST_LAST  114

#define IDM_SOUND_PLAY_SELECTED 116
#define IDM_SOUND_PLAY_ALL      117
#define IDM_SOUND_STOP_SKIP     118
#define IDM_SOUND_BROWSE        119
#define IDM_SOUND_ADD           120
#define IDM_SOUND_REMOVE        121
#define IDM_SOUND_MODIFY        122
#define IDM_SOUND_STOP_PLAY_ALL 124
#define IDM_SOUND_PAUSE         125 /* Pause, or Resume while paused */
#define IDM_SOUND_STOP_AFTER    126 /* Play All ends after the object that plays */
#define IDM_SOUND_MUTE          127 /* the program's sound off, or on again */
#define IDM_SOUND_VOLUME_UP     128
#define IDM_SOUND_VOLUME_DOWN   129

#define IDM_OPT_PLAY_ALL_MODE     132
#define IDM_OPT_SET_EDITOR        133
#define IDM_OPT_RUN_EDITOR        134
#define IDM_OPT_PREFERENCES       135
#define IDM_OPT_CONFIRMATIONS     136
#define IDM_OPT_HOT_KEYS          137
#define IDM_OPT_SET_FAVORITE      138
#define IDM_OPT_SAVE_WINDOW_POS   139
#define IDM_OPT_CATALOG_CD        140
#define IDM_OPT_ADD_ALL_CD_TRACKS 141

#define IDM_HELP_INDEX        148
#define IDM_HELP_OVERVIEW     149
#define IDM_HELP_PROCEDURES   150
#define IDM_HELP_USING_HELP   151
#define IDM_HELP_DISTRIBUTION 152
#define IDM_HELP_ABOUT        154

#define IDM_MOVE_TOP    164
#define IDM_MOVE_UP     165
#define IDM_MOVE_DOWN   166
#define IDM_MOVE_BOTTOM 167

/* Edit menu */
#define IDM_EDIT_UNDO        168
#define IDM_EDIT_REDO        169
#define IDM_EDIT_SELECT_ALL  170
#define IDM_EDIT_FIND        171
#define IDM_EDIT_FIND_NEXT   172
#define IDM_SORT_DESCRIPTION 173 /* 173 to 178: key and direction */
#define IDM_SORT_DESCRIPTION_DOWN 174
#define IDM_SORT_FILE_NAME   175
#define IDM_SORT_FILE_NAME_DOWN 176
#define IDM_SORT_KIND        177
#define IDM_SORT_KIND_DOWN   178
#define IDM_EDIT_SHUFFLE     179
#define IDM_EDIT_CUT         180
#define IDM_EDIT_COPY        181
#define IDM_EDIT_PASTE       182

/* The status-bar help text of command N is language string N - 100. */
#define IDM_FIRST 100
#define IDM_LAST  182

/* ---- Resources --------------------------------------------------------- */
#define IDR_MAIN_MENU    1500
#define IDR_POPUP_MENU   1523
#define IDR_ACCELERATORS 1532

/* Icons; a button's icon has the id of the button (or kind) it stands for. */
#define IDI_APP           1501 /* also the first animation frame */
#define IDI_ADD           1502
#define IDI_APPEND        1503
#define IDI_BROWSE        1504
#define IDI_HOT_KEYS      1505
#define IDI_CATALOG_CD    1506
#define IDI_HELP          1507
#define IDI_INSERT        1508
#define IDI_KIND_MIDI     1509
#define IDI_MODIFY        1510
#define IDI_NEW           1511
#define IDI_OPEN          1512
#define IDI_KIND_PAUSE    1513
#define IDI_PLAY_ALL      1514
#define IDI_PLAY          1515
#define IDI_PLAY_ALL_MODE 1516
#define IDI_REMOVE        1517
#define IDI_SAVE          1518
#define IDI_STOP_SKIP     1519
#define IDI_KIND_WAVE     1520
#define IDI_STOP_PLAY_ALL 1521
#define IDI_KIND_CD_TRACK 1522
#define IDI_ANIM_INTRO_1  1524
#define IDI_ANIM_INTRO_2  1525
#define IDI_ANIM_INTRO_3  1526
#define IDI_ANIM_IDLE     1527 /* resting frame, not part of the cycle */
#define IDI_ANIM_CYCLE_1  1528
#define IDI_ANIM_CYCLE_2  1529
#define IDI_ANIM_CYCLE_3  1530
#define IDI_ANIM_CYCLE_4  1531
#define IDI_KIND_VIDEO    1533
#define IDI_KIND_AUDIO    1534

#define IDB_KIND_WAVE     1540
#define IDB_KIND_MIDI     1541
#define IDB_KIND_PAUSE    1542
#define IDB_KIND_CD_TRACK 1543
#define IDB_KIND_VIDEO    1544
#define IDB_KIND_AUDIO    1545

/* A kind's row picture at every size: the kind bitmap's id + 10. */
#define IDI_ROW_WAVE     1550
#define IDI_ROW_MIDI     1551
#define IDI_ROW_PAUSE    1552
#define IDI_ROW_CD_TRACK 1553
#define IDI_ROW_VIDEO    1554
#define IDI_ROW_AUDIO    1555

/* Dialog templates */
#define IDD_PLAY_ALL_MODE    2000
#define IDD_PREFERENCES      2001
#define IDD_CONFIRMATIONS    2002
#define IDD_ADD_SOUND_OBJECT 2003
#define IDD_SOUND_OBJECT     2005
#define IDD_PAUSE_OBJECT     2006
#define IDD_HOT_KEYS         2008
#define IDD_SOUND_EDITOR     2009
#define IDD_CD_TRACK         2011
#define IDD_FIND             320

/* ---- Buttons of the ribbon and play buttons ---------------------------- */
#define IDC_BTN_ADD           1502
#define IDC_BTN_APPEND        1503
#define IDC_BTN_BROWSE        1504
#define IDC_BTN_HOT_KEYS      1505
#define IDC_BTN_CATALOG_CD    1506
#define IDC_BTN_HELP          1507
#define IDC_BTN_INSERT        1508
#define IDC_BTN_MODIFY        1510
#define IDC_BTN_NEW           1511
#define IDC_BTN_OPEN          1512
#define IDC_BTN_PLAY_ALL      1514
#define IDC_BTN_PLAY          1515
#define IDC_BTN_PLAY_ALL_MODE 1516
#define IDC_BTN_REMOVE        1517
#define IDC_BTN_SAVE          1518
#define IDC_BTN_STOP_SKIP     1519
#define IDC_BTN_STOP_PLAY_ALL 1521

/* Kind command ids of the Add Sound Object dialog's list */
#define IDK_MIDI     1509
#define IDK_PAUSE    1513
#define IDK_WAVE     1520
#define IDK_CD_TRACK 1522
#define IDK_VIDEO    1533
#define IDK_AUDIO    1534

/* ---- Dialog and main-window controls ----------------------------------- */
#define IDC_OK                  500 /* the dialogs' own OK / Change */
#define IDC_HELP_BUTTON         504
#define IDC_PREF_MINIMIZE       505
#define IDC_PREF_TITLE          506
#define IDC_PREF_PAUSE          507
#define IDC_PREF_PAUSE_SECONDS  508
#define IDC_CONFIRM_OBJECT      509
#define IDC_CONFIRM_FILE        510
#define IDC_INSERT_AT_TOP       511
#define IDC_INSERT_AT_CURRENT   512
#define IDC_INSERT_APPEND       513
#define IDC_SOUND_FILE          514
#define IDC_BROWSE              515
#define IDC_DESCRIPTION         516
#define IDC_REPEAT_COUNT        517
#define IDC_PAUSE_DURATION      518
#define IDC_COMMAND_LINE        519
#define IDC_FIND_TEXT           1650 /* Find: the text looked for */
#define IDC_TEST                520
#define IDC_STOP                521
#define IDC_SAVE                523
#define IDC_PLAY_LIST_COUNT     524
#define IDC_NON_STOP            525
#define IDC_ORDER_SEQUENTIAL    526
#define IDC_ORDER_RANDOM        527
#define IDC_OBJECT_LIST         528
#define IDC_POST_DELAY          529
#define IDC_ADD                 530
#define IDC_VIRTUAL_KEY         531
#define IDC_KEY_CONTROL         533
#define IDC_KEY_ALT             534
#define IDC_HOTKEY_PLAY_NEXT    535
#define IDC_HOTKEY_PLAY_ALL     536
#define IDC_HOTKEY_FAVORITE     537
#define IDC_HOTKEY_PAUSE        538
#define IDC_RESET               539
#define IDC_LABEL_COUNT_CAPTION 544
#define IDC_LABEL_COUNT         545
#define IDC_LABEL_ORDER_CAPTION 546
#define IDC_LABEL_ORDER         547
#define IDC_SPIN_COUNT          548
#define IDC_SPIN_PAUSE          549
#define IDC_SPIN_DELAY          550
#define IDC_SPIN_REPEAT         551
#define IDC_EXCLUSIVE           552
#define IDC_EXPLANATION         553
#define IDC_EDITOR_MIDI         555
#define IDC_EDITOR_WAV          556
#define IDC_TRACK_NUMBER        557
#define IDC_SPIN_TRACK          558
#define IDC_PREF_BUTTON_HELP    559
#define IDC_PREF_ABSOLUTE_PATHS 560
#define IDC_PREF_OPEN_LAST_LIST 1600
#define IDC_KIND_LIST           1000
#define IDC_ADD_ALL_CD_TRACKS   1002
#define IDC_PREF_MEDIA_KEYS     1620 /* the media keys from every program */
#define IDC_POSITION_BAR        1630 /* the main window's position of what plays */
#define IDC_POSITION_TIME       1631 /* its elapsed and whole time */
#define IDC_VOLUME_BAR          1632 /* the program's volume, 0 to 100 */
#define IDC_MUTE_BUTTON         1633
/* The taskbar button's thumbnail toolbar */
#define IDC_THUMB_PREVIOUS      1634
#define IDC_THUMB_PLAY_PAUSE    1635
#define IDC_THUMB_NEXT          1636

/* Static labels of the dialogs (their ids carry no meaning) */
#define IDC_STATIC (-1)

/* ---- Hot-key ids (WM_HOTKEY) ------------------------------------------ */
#define IDH_PLAY_NEXT 540
#define IDH_PLAY_ALL  541
#define IDH_FAVORITE  542
#define IDH_PAUSE     543
/* The media keys, taken from every program (no modifiers) */
#define IDH_MEDIA_PLAY_PAUSE 1640
#define IDH_MEDIA_STOP       1641
#define IDH_MEDIA_NEXT       1642
#define IDH_MEDIA_PREVIOUS   1643

/* ---- Help contexts of WD.CHM ------------------------------------------ */
/* The help build (help/make_help_map.py) reads these lines: each number opens
 * the page of the section that claims it (a \cfg{help-context} paragraph of
 * the help sources); HELPCTX_INDEX opens the contents page. Plain decimal
 * defines. */
#define HELPCTX_INDEX            1
#define HELPCTX_OVERVIEW         2
#define HELPCTX_PROCEDURES       4
#define HELPCTX_ADD_SOUND_OBJECT 12
#define HELPCTX_OBJECT_DIALOGS   16
#define HELPCTX_PLAY_ALL_MODE    19
#define HELPCTX_HOT_KEYS         23
#define HELPCTX_PREFERENCES      27
#define HELPCTX_CONFIRMATIONS    28
#define HELPCTX_SOUND_EDITOR     29
#define HELPCTX_DISTRIBUTION     31
#define HELPCTX_USING_HELP       32

/* ---- The program's own string table ------------------------------------ */
#define IDS_OWN_LANGUAGE_KEY   0
#define IDS_OWN_NO_LANGUAGE    1
#define IDS_OWN_NO_MAIN_WINDOW 2

/* ---- Language module strings ("wd_eng.dll") ---------------------------- */
#define IDS_MENU_HELP_BASE        0 /* help of command N is N - 100 */
#define IDS_STATUS_STARTUP        96
#define IDS_STATUS_READY          97
#define IDS_APP_CAPTION           98
#define IDS_ABOUT_LINE1           99
#define IDS_ABOUT_LINE2           100
#define IDS_ABOUT_LINE3           101
#define IDS_STATUS_HELP           102
#define IDS_SETTINGS_SAVED        103
#define IDS_TITLE_ADD_FILE        105
#define IDS_OBJECT_ADDED          106
#define IDS_TITLE_ADD_PAUSE       107
#define IDS_FMT_FILES_DROPPED     110 /* one number  [63] */
#define IDS_CONFIRM_REMOVE        112
#define IDS_FMT_ITEMS_READ        113 /* one number  [40] */
#define IDS_FMT_ITEMS_WRITTEN     114 /* two numbers [40] */
#define IDS_FMT_NOW_PLAYING       115 /* one text    [62] */
#define IDS_FMT_PAUSE_PLAYING     116 /* one number  [62] */
#define IDS_FMT_PASS              117 /* two numbers [31] */
#define IDS_ORDER_SEQUENTIAL      118
#define IDS_ORDER_RANDOM          119
#define IDS_NON_STOP              120
#define IDS_LABEL_PLAY_COUNT      121
#define IDS_LABEL_PLAY_ORDER      122
#define IDS_FMT_COUNTDOWN         123 /* one number  [62] */
#define IDS_ORDER_RANDOM_EXCL     124
#define IDS_CD_CATALOGED          125
#define IDS_ASK_ADD_ALL_TRACKS    126
#define IDS_COUNT_OUT_OF_RANGE    128
#define IDS_OUT_OF_MEMORY         130
#define IDS_NOTHING_SELECTED      131
#define IDS_FREE_FAILED           132
#define IDS_NO_OBJECT_INFO        133
#define IDS_HOTKEY_START_FAILED   134
#define IDS_ASK_SET_FAVORITE      135
#define IDS_HOTKEY_CHANGE_FAILED  136
#define IDS_BAD_FILE_NAME         137
#define IDS_ASK_REPLACE_FILE      138
#define IDS_DISK_FULL             139
#define IDS_NO_CD                 141
#define IDS_REGISTRY_FAILED       142
#define IDS_FILE_WRITE_FAILED     143
#define IDS_DEFAULT_MIDI_EDITOR   144
#define IDS_EDITOR_NO_SETTINGS    145
#define IDS_EDITOR_WRONG_KIND     146
#define IDS_ASK_SET_EDITOR        147
#define IDS_ASK_CHANGE_EDITOR     148
#define IDS_NOT_A_LIST_FILE       150
#define IDS_TRACK_OUT_OF_RANGE    151
#define IDS_NO_MEDIA_DEVICES      152
#define IDS_ASK_SAVE_CHANGES      154
#define IDS_DEVICE_MISSING        155
#define IDS_CATALOG_DAMAGED       156
#define IDS_NOTHING_TO_CATALOG    157
#define IDS_ASK_FILL_FROM_CD      158
#define IDS_ASK_SAME_LIST_NEW_CD  159
#define IDS_REG_SETTINGS_KEY      160
#define IDS_REG_WINDOW_PLACEMENT  161
#define IDS_REG_PLAY_LIST_COUNT   162
#define IDS_REG_PREFERENCES       163
#define IDS_REG_CONFIRMATIONS     164
#define IDS_REG_PLAY_ORDER        165
#define IDS_REG_PAUSE_SECONDS     166
#define IDS_REG_FAVORITE          167
#define IDS_REG_WAV_EDITOR        168
#define IDS_REG_MIDI_EDITOR       169
#define IDS_REG_HOTKEYS_KEY       192
#define IDS_REG_HOTKEY1_KEY       193
#define IDS_REG_HOTKEY1_MODS      194
#define IDS_REG_HOTKEY2_KEY       195
#define IDS_REG_HOTKEY2_MODS      196
#define IDS_REG_HOTKEY3_KEY       197
#define IDS_REG_HOTKEY3_MODS      198
#define IDS_REG_HOTKEY4_KEY       199
#define IDS_REG_HOTKEY4_MODS      200
#define IDS_CANNOT_OPEN_FILE      224
#define IDS_LIST_FILE_DAMAGED     225
#define IDS_NUMBER_OUT_OF_RANGE   236
#define IDS_MODIFY_INDEX_TOO_FAR  237
#define IDS_LIST_EMPTY            238
#define IDS_NAME_TOO_LONG         239
#define IDS_DESCRIPTION_STAR      240
#define IDS_FMT_CANNOT_PLAY       241 /* file, reason   [127] */
#define IDS_FMT_RUN_FAILURES      242 /* one number     [127] */
#define IDS_ASK_KEEP_MISSING      243
#define IDS_FMT_NUMBER_RANGE      244 /* two numbers    [127] */
#define IDS_HOTKEY_NEEDS_MODIFIER 245
#define IDS_PLAY_ERROR_UNKNOWN    246
#define IDS_HELP_NO_VIEWER        247
#define IDS_HELP_NOT_OPENED       248
#define IDS_MENU_PAUSE            260
#define IDS_MENU_RESUME           261
#define IDS_FMT_PAUSED            262 /* one text           [62] */
#define IDS_FMT_PLAY_TIME         263 /* text, two times    [62] */
#define IDS_PLAY_ERROR_NO_ANSWER  264
/* The File commands: their dialogs' titles and filter, and what they say */
#define IDS_TITLE_OPEN_LIST       270
#define IDS_TITLE_INSERT_LIST     271
#define IDS_TITLE_APPEND_LIST     272
#define IDS_TITLE_SAVE_LIST       273
#define IDS_FILTER_LISTS          274 /* name|pattern|..., "|" for the NULs */
#define IDS_FMT_CANNOT_OPEN_LIST  275 /* file, reason       [255] */
#define IDS_FMT_LIST_DAMAGED      276 /* file, number       [255] */
#define IDS_FMT_CANNOT_WRITE      277 /* file, reason       [255] */
#define IDS_FMT_TEXTS_CUT         278 /* file, text         [255] */
#define IDS_FMT_NOT_A_LIST        279 /* file               [255] */
#define IDS_CATALOG_PATH_TOO_LONG 280
#define IDS_FMT_TRACK_DESCRIPTION 281 /* one number         [31] */
#define IDS_UNTITLED              282
#define IDS_FMT_TRACK_ROW         283 /* one number         [31] */
#define IDS_FMT_INFO_COUNTS       284 /* two numbers        [62] */
#define IDS_FMT_INFO_TRACK        285 /* three numbers      [62] */
#define IDS_FMT_INFO_FILE         286 /* two numbers, file  [62] */
#define IDS_FMT_SELECTED_COUNT    400 /* one number         [63] */
#define IDS_TEXT_NOT_FOUND        401
/* Other players' playlists, the recent lists and the last list */
#define IDS_FMT_PLAYLIST_NOTHING 300 /* file, details      [255] */
#define IDS_FMT_PLAYLIST_PARTLY  301 /* file, number, details [255] */
#define IDS_FMT_REFUSED_ENTRY    302 /* number, text, reason [127] */
#define IDS_FMT_MORE_REFUSED     303 /* one number         [127] */
#define IDS_FMT_PLAYLIST_STOPPED 304 /* number, reason     [255] */
#define IDS_FMT_NOT_WRITABLE     305 /* file               [255] */
#define IDS_FMT_RECENT_MISSING   306 /* file               [255] */
#define IDS_FMT_RECENT_ITEM      307 /* number, file       [31] */
#define IDS_FILTER_SAVE          308 /* name|pattern|..., "|" for the NULs */
/* Why an entry was not taken: IDS_REFUSAL_FIRST + PlaylistRefusal */
#define IDS_REFUSAL_FIRST 310
#define IDS_REFUSAL_LAST  320
/* Why reading a playlist stopped: IDS_PLAYLIST_STOP_FIRST + PlaylistStop */
#define IDS_PLAYLIST_STOP_FIRST 321
#define IDS_PLAYLIST_STOP_LAST  330
#define IDS_REG_OPEN_LAST_LIST  331
#define IDS_REG_LAST_LIST       332
#define IDS_REG_LAST_SELECTED   333
/* The recent lists' values, most recent first */
#define IDS_REG_RECENT_LIST_FIRST 340
#define IDS_REG_RECENT_LIST_LAST  347
#define IDS_MEDIA_KEYS_TAKEN      350 /* another program holds a media key */
#define IDS_FMT_POSITION          351 /* two times          [62] */
#define IDS_POSITION_BAR_NAME     352
#define IDS_REG_VOLUME            353
#define IDS_REG_MUTED             354
#define IDS_VOLUME_BAR_NAME       355
#define IDS_MUTE_BUTTON           356
#define IDS_THUMB_PREVIOUS        357
#define IDS_THUMB_PLAY_PAUSE      358
#define IDS_THUMB_NEXT            359

/* ---- Private messages of the main window ------------------------------- */
/* Any process can post these to the main window: none carries a pointer,
 * and each is checked against the program's own state before it acts. */
#define WM_SETSTATUSTEXT   (0x0400 + 1) /* WM_USER+1, wParam string id */
#define WM_OPENCOMMANDLINE (0x0400 + 2) /* WM_USER+2, the pending command line */
/* The Play All worker's last word, sent (synchronously) to the main window */
#define WM_PLAYALLENDED (0x0400 + 5) /* the run is over: idle state */
/* What playback tells the main window to show, wParam a PlaybackEvent */
#define WM_PLAYBACKEVENT (0x0400 + 6) /* lParam a number */
/* The program's volume changed in the system's mixer: wParam the level
 * (0 to 100), lParam 1 when muted */
#define WM_SESSIONVOLUME (0x0400 + 1626)
/* The marker of a command line handed over in WM_COPYDATA's dwData */
#define COPYDATA_COMMAND_LINE 0x57444C31 /* "WDL1" */
/* The main window's timer of the time played (WM_TIMER) */
#define IDT_PLAY_TIME 1601

/* ---- Messages of the device thread's window ---------------------------- */
/* A message-only window of the program's own; neither carries anything:
 * the jobs wait in the thread's own queue. */
#define WM_DEVICEJOB  (0x8000 + 1) /* WM_APP+1: jobs are queued */
#define WM_DEVICEQUIT (0x8000 + 2) /* the thread ends */
/* Its timer that reads the position of what plays (WM_TIMER) */
#define IDT_DEVICE_POSITION 1602

/* ---- Ids that follow from others (the code's, not the resources') ----- */
#ifndef RC_INVOKED
/* A menu command's help on the status bar: its language string. */
constexpr unsigned CommandHelpString(int command) { return static_cast<unsigned>(command - IDM_FIRST); }
/* The buttons' icons, from IDI_APP on: the slot of a button id's icon in a
 * table of them, and the icon id of a slot. */
constexpr int ButtonIconSlot(int buttonId) { return buttonId - IDI_APP; }
constexpr int ButtonIconId(int slot) { return IDI_APP + slot; }
/* Hot key n (Play Next, Play All, Favorite, Pause): its WM_HOTKEY id, its
 * radio button in the hot-key dialog, and the n of a radio button. */
constexpr int HotKeyId(int n) { return IDH_PLAY_NEXT + n; }
constexpr int HotKeyButton(int n) { return IDC_HOTKEY_PLAY_NEXT + n; }
constexpr int HotKeyOfButton(int buttonId) { return buttonId - IDC_HOTKEY_PLAY_NEXT; }
#endif

#endif /* WENDLE_IDS_H */
