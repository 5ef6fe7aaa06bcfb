// Resource and command ids. Shared by yarrowkit.rc and the code; ids repeat across dialogs.
#pragma once

// Icons and bitmaps
#define IDR_MAINFRAME            128  // window and tray icon
#define IDI_UNICODE_ITEM         129  // list image 0: Unicode text
#define IDI_PLAIN_ITEM           130  // list image 1: plain text, images, anything else
#define IDI_RICH_ITEM            131  // list image 2: rich text
#define IDB_MENU_ICONS           141  // nine 16x16 cells, transparent RGB(192,192,192)
#define IDB_ABOUT                143  // 181x125 picture of the about box

// Dialog templates and the main menu
#define IDD_ABOUT                100
#define IDD_GENERAL_PAGE         101
#define IDD_SELECTION            102
#define IDR_MAIN_MENU            142
#define IDD_OPTIONS              144
#define IDD_HOTKEYS_PAGE         145
#define IDD_PASTE_PAGE           146
#define IDD_DATABASE_PAGE        147

#define IDC_STATIC               (-1)

// Selection window (102)
#define IDC_PASTE                137
#define IDC_HIDE_AFTER           1000
#define IDC_RANGE_LABEL          1001
#define IDC_OLDEST_PAGE          1002  // "<<"
#define IDC_OLDER_PAGE           1003  // "<"
#define IDC_NEWER_PAGE           1004  // ">"
#define IDC_NEWEST_PAGE          1005  // ">>"
#define IDC_ITEM_TREE            1006
#define IDC_COPY                 1008
#define IDC_DELETE               1009
#define IDC_FIND_BOX             1030  // made in code: a wide edit control
#define IDC_FIND_LABEL           1031

// Commands of menu 142 and the tray menu
#define ID_RECONNECT_CLIPBOARD   110
#define ID_OPTIONS               111
#define ID_MONITOR_CLIPBOARD     112
#define ID_NEWSLETTER            113
#define ID_SEND_FEEDBACK         114
#define ID_HOME_PAGE             115
#define ID_ABOUT                 103
#define ID_CLOSE_APP             104
#define ID_HIDE_WINDOW           32771
#define ID_COPY_TO_CLIPBOARD     32772
#define ID_PASTE_TO_TARGET       32773
#define ID_DELETE_CLIP           32774
#define ID_FORUM                 32775

// Options window (144)
#define IDC_PAGE_LIST            1018
#define IDC_PAGE_FRAME           1020
#define IDC_PAGE_CAPTION         59648

// General options page (101)
#define IDC_SHOW_TOOLTIP         1013
#define IDC_RUN_ON_STARTUP       1014
#define IDC_CAPTURE_IMAGE        1015
#define IDC_HIDE_ON_FOCUS_LOST   1016
#define IDC_MOVE_SELECTION       1017

// Hot keys page (145)
#define IDC_HOTKEY_MAIN          1010
#define IDC_HOTKEY_PREVIOUS      1011
#define IDC_HOTKEY_NEXT          1012
#define IDC_SHOW_ICON            1005

// Paste options page (146)
#define IDC_RESTORE_CLIPBOARD    1097
#define IDC_DELAY_GROUP          1098
#define IDC_DELAY_NOTE           1099
#define IDC_DELAY                1100

// Database page (147)
#define IDC_DB_PATH              1008
#define IDC_LIMIT_RECORDS        1015
#define IDC_PATH_GROUP           1021
#define IDC_SAVE_ITEMS           1025
#define IDC_SWITCH_DATABASE      1026
#define IDC_MOVE_DATABASE        1027
#define IDC_EMPTY_DATABASE       1028

// About box (100)
#define IDC_ABOUT_PICTURE        1017
#define IDC_ABOUT_NAME           1010
#define IDC_ABOUT_VERSION        1011
#define IDC_MAIL_LINK            1007
#define IDC_HOME_LINK            1006
