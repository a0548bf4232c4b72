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
