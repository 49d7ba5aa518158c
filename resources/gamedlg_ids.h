// Resource ids of the gamedlg folder, shared by its code and the resource library.
#pragma once

// ---- The save prompt (skin section "SavePrompt") ----------------------------------------------
#define IDD_SAVEPROMPT              234
#define IDC_SAVEPROMPT_APPLY        3       // "应用并退出"; Save is IDOK, Discard IDCANCEL
#define IDC_SAVEPROMPT_RULE_ASK     1020    // rule 0, first of the radio group
#define IDC_SAVEPROMPT_RULE_AUTO    1021    // rule 1
#define IDC_SAVEPROMPT_RULE_NEVER   1022    // rule 2
#define IDC_SAVEPROMPT_COUNT        1037    // the countdown number

// ---- The skinned report list's pictures ---------------------------------------------------------
#define IDB_SKINLIST_HEADER_STRIP   8020    // 1 x 20, stretched under the header
#define IDB_SKINLIST_HEADER_FACE    8021    // the first column's face
#define IDB_SKINLIST_HEADER_DIVIDER 8022    // at each column's right edge
#define IDB_SKINLIST_LEFT_ARROW     8023    // four frames of 13
#define IDB_SKINLIST_RIGHT_ARROW    8024
#define IDB_SKINLIST_HTRACK         8025
#define IDB_SKINLIST_HTHUMB         8026    // three frames of 9 (turned: 45 x 12 each)
#define IDB_SKINLIST_CAP            8027    // over the header row, 13 x 18
#define IDB_SKINLIST_UP_ARROW       8028
#define IDB_SKINLIST_VTRACK         8029    // 12 x 1
#define IDB_SKINLIST_DOWN_ARROW     8030
#define IDB_SKINLIST_SPARE          8031    // kept, not drawn
#define IDB_SKINLIST_VTHUMB         8032

// ---- The set-title dialog ---------------------------------------------------------------------
#define IDD_SETTITLE                1038    // an empty frame; the dialog draws everything
#define IDC_SETTITLE_PREV           1039
#define IDC_SETTITLE_NEXT           1040

// ---- The setup dialog (skin section "setup") --------------------------------------------------
#define IDD_SETUP                   218
#define IDC_SETUP_BG_DEFAULT        219     // background kind 0, first of its group
#define IDC_SETUP_BG_COLOUR         220     // 1
#define IDC_SETUP_BG_COLOUR_PICK    221     // "IDC_BKCOLOR"
#define IDC_SETUP_BG_PICTURE        222     // 2
#define IDC_SETUP_BG_PICTURE_PICK   223     // "IDC_BKBMP"
#define IDC_SETUP_TILE              224
#define IDC_SETUP_SOUND             225
#define IDC_SETUP_MUSIC             226
#define IDC_SETUP_MUSIC_PICK        227     // "IDC_MUSIC"
#define IDC_SETUP_CLOCKWISE         228     // play order 0, first of its group
#define IDC_SETUP_ANTICLOCKWISE     229     // 1
#define IDC_SETUP_ALLOW_WATCH       230
#define IDC_SETUP_SMALL_CARDS       231
#define IDC_SETUP_SCROLL_TIPS       232
#define IDC_SETUP_PERSONAL          340
#define IDC_SETUP_OWN_ASK           1025    // own-game rule 0, first of its group
#define IDC_SETUP_SHOT_FOLDER       1027
#define IDC_SETUP_OWN_AUTO          1028
#define IDC_SETUP_OWN_NEVER         1029
#define IDC_SETUP_VIDEO_FOLDER      1030
#define IDC_SETUP_SHOT_PICK         1031
#define IDC_SETUP_VIDEO_PICK        1032
#define IDC_SETUP_WATCH_ASK         1033    // watched-game rule 0, first of its group
#define IDC_SETUP_WATCH_AUTO        1034
#define IDC_SETUP_WATCH_NEVER       1035
#define IDC_SETUP_SCORE_BOX         8007
#define IDC_SETUP_SAVE_FOLDER       8009
#define IDC_SETUP_SAVE_PICK         8010
