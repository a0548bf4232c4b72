// Resource and command numbers shared by the .rc files and the program.
// Plain #defines: windres reads this file too.
#pragma once

#define IDI_KIVORA          107

// Tray icons (16 x 16).
#define IDI_KEY_CHANGE          129  // key pressed, lock states not shown
#define IDI_WATCHING            130
#define IDI_PAUSED              131
#define IDI_KEY_CHANGE_DEVICE   174  // key pressed, a watched keyboard connected
#define IDI_DEVICE_WATCHING     175
#define IDI_DEVICE_PAUSED       176
// Parts of the composed lock-state icons.
#define IDI_LOCK_BASE           177
#define IDI_LOCK_BASE_DEVICE    178
#define IDI_LOCK_NUMLOCK        179
#define IDI_LOCK_CAPSLOCK       180
#define IDI_LOCK_SCROLLLOCK     181
#define IDI_LOCK_WATCHING       182
#define IDI_LOCK_PAUSED         183
#define IDI_LOCK_FLASH          184

// Pictures of where the tray icon hides (PNG, resource type "RT_RCDATA").
#define IDP_TRAY_HINT_WIN7      165
#define IDP_TRAY_HINT_WIN10     166

#define IDR_TRAYMENU_JA     132
#define IDR_TRAYMENU_EN     134

#define IDC_OPEN_DOC        3
#define IDM_SETTINGS        32776
#define IDM_OFF             32777
#define IDM_ABOUT           32778
#define IDM_EXIT            32779
#define IDM_STARTUP         32780
#define IDM_FEEDBACK        32781
#define IDM_OFF_P0          32782
#define IDM_OFF_P1          32783
#define IDM_DEBUGLOG        32784
#define IDM_IME0            32786
#define IDM_IME1            32787
#define IDM_IME2            32788
#define IDM_IME3            32789
#define IDM_IME4            32790

// The already-running dialog (164 Japanese, 168 English) and the opening
// dialog (169, Japanese only). IDOK..IDCANCEL-style button 6 is "Force Exit".
#define IDD_ALREADY_RUNNING_JA  164
#define IDD_ALREADY_RUNNING_EN  168
#define IDD_OPENING             169
#define IDC_FORCE_EXIT          6
#define IDC_NO_OPENING_DLG      1042
#define IDC_WARNING_ICON        1044
#define IDC_PICTURE_WIN7        1050
#define IDC_PICTURE_WIN10       1051

// Script editor (Japanese and English layouts).
#define IDD_SCRIPT_EDITOR_JA    220
#define IDD_SCRIPT_EDITOR_EN    221
#define IDC_SCRIPT_TEXT         1065
#define IDC_SCRIPT_LOAD         1066
#define IDC_SCRIPT_SAVE         1067
#define IDC_SCRIPT_SAMPLE_HINT  1068

// Debug log: its settings dialog (one Japanese layout for both languages)
// and the live monitor window.
#define IDD_DEBUGLOG            172
#define IDD_DEBUG_MONITOR       222
#define IDC_DEBUGLOG_BROWSE     1014
#define IDC_DEBUGLOG_ON         1057
#define IDC_DEBUGLOG_FILE       1058
#define IDC_DEBUGLOG_MONITOR    1059
#define IDC_DEBUGLOG_FILE_LABEL 1060
#define IDC_DEBUG_MONITOR_TEXT  1061
#define IDC_DEBUG_MONITOR_PAUSE 1063

// The settings dialog (133 Japanese, 135 English) and the dialogs it opens:
// the per-window rule list and its edit dialog, the keyboard device dialog.
// Help buttons are 3 in all of them.
#define IDD_SETTINGS_JA             133
#define IDD_SETTINGS_EN             135
#define IDD_WINDOW_RULES_JA         140
#define IDD_WINDOW_RULES_EN         141
#define IDD_RULE_EDIT_JA            142
#define IDD_RULE_EDIT_EN            143
#define IDD_DEVICES_JA              144
#define IDD_DEVICES_EN              145
#define IDR_RULE_MENU_JA            146
#define IDR_RULE_MENU_EN            147
#define IDC_HELP_BUTTON             3

#define IDC_PLAY_SOUND              1007
#define IDC_USE_SCRIPT              1008
#define IDC_REMOTE_CHECK            1010
#define IDC_NOTIFY_WATCHED_DEVICE   1012
#define IDC_SOUND_FILE              1013
#define IDC_SOUND_BROWSE            1014
#define IDC_NUMLOCK_MODE            1015
#define IDC_REMOTE_MODE             1016
#define IDC_CAPSLOCK_MODE           1017
#define IDC_SCROLLLOCK_MODE         1018
#define IDC_NOTIFY_ONLY             1020
#define IDC_BLOCK_INSERT            1021
#define IDC_SHOW_LOCK_ICON          1022
#define IDC_SEND_TK                 1024
#define IDC_IME_LOCK                1025
#define IDC_NUMLOCK_STATE           1028
#define IDC_REMOTE_STATE            1030
#define IDC_CAPSLOCK_STATE          1032
#define IDC_SCROLLLOCK_STATE        1034
#define IDC_PAUSE_CLICK             1037
#define IDC_WINDOW_RULES            1038
#define IDC_INTERVAL                1039
#define IDC_LOGON_NUMLOCK           1040
#define IDC_RETURN_WAIT             1041
#define IDC_PAUSE_HOTKEY            1046
#define IDC_BIG_DIALOG              1047
#define IDC_INTERVAL_SPIN           1048
#define IDC_RETURN_WAIT_SPIN        1049
#define IDC_IME_HELP_LINK           1052
#define IDC_WATCHED_DEVICES         1053
#define IDC_EDIT_SCRIPT             1064
#define IDC_INSTANT_CHECK           1069

#define IDC_RULE_LIST               1023
#define IDC_RULE_NEW                1026
#define IDC_RULE_EDIT               1027
#define IDC_RULE_DELETE             1029
#define IDC_RULE_UP                 1031
#define IDC_RULE_DOWN               1033
#define IDC_RULE_TITLE              1036
#define IDC_RULE_NUMLOCK            1015
#define IDC_RULE_CAPSLOCK           1017
#define IDC_RULE_SCROLLLOCK         1018
#define IDC_RULE_IME                1025

#define IDC_DEVICE_ADD              1035
#define IDC_DEVICE_DELETE           1029
#define IDC_CONNECTED_DEVICES       1054
#define IDC_WATCHED_DEVICE_LIST     1055
#define IDC_DEVICE_REVERSE          1056
