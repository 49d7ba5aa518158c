// Resource ids of the kit folder, shared by its code and the resource library.
#pragma once

// Dialog templates.
#define IDD_KIT_MSGBOX          29733   // skinned message box
#define IDD_KIT_WAIT            29734   // wait dialog
#define IDD_KIT_PLAIN_MSGBOX    29810   // plain message box
#define IDD_KIT_ABOUT           29891   // About box (its first text has the same id)
#define IDD_KIT_NOTICE          29800   // notice dialog
#define IDD_KIT_WEBTIP          29663   // web notice popup (framed popup)

// The web notice popup's frame pictures ("GIF"), in the framed popup's
// order: top-left, top, top-right, left, right, bottom-left, bottom,
// bottom-right, background, close button.
#define IDR_KIT_WEBTIP_FRAME    29664   // .. 29673

// Controls of the message boxes.
#define IDC_KIT_MSG_TEXT        29811
#define IDC_KIT_MSG_ICON        29812
#define IDC_KIT_MSG_COUNTDOWN   29813
#define IDC_KIT_MSG_BUTTON1     29714
#define IDC_KIT_MSG_BUTTON2     29715
#define IDC_KIT_MSG_BUTTON3     29716
#define IDC_KIT_MSG_ENTRY       29852
#define IDC_KIT_MSG_ENTRY_MASKED 29853

// Controls of the wait dialog.
#define IDC_KIT_WAIT_ICON       29802
#define IDC_KIT_WAIT_TEXT       29803
#define IDC_KIT_WAIT_CANCEL     29804

// Controls of the notice dialog (the same ids as the wait dialog's).
#define IDC_KIT_NOTICE_ICON     29802
#define IDC_KIT_NOTICE_TEXT     29803
#define IDC_KIT_NOTICE_CANCEL   29804

// Controls of the About box.
#define IDC_KIT_ABOUT_TEXT1     29891
#define IDC_KIT_ABOUT_TEXT2     29892
#define IDC_KIT_ABOUT_ICON      29893

// The buttons' click sound (type "WAVE").
#define IDR_KIT_BUTTON_SOUND    262

// The hand cursor of the link texts (type "HANDCURSOR").
#define IDR_KIT_HANDCURSOR      29710

// Strings: button captions, the About title. (The title font's face, 29931,
// is the client fragment's IDS_CLIENT_FONT_FACE.)
#define IDS_KIT_OK              29700
#define IDS_KIT_ABORT           29701
#define IDS_KIT_RETRY           29702
#define IDS_KIT_IGNORE          29703
#define IDS_KIT_YES             29704
#define IDS_KIT_NO              29705
#define IDS_KIT_CANCEL          29706
#define IDS_KIT_ABOUT_TITLE     29933
