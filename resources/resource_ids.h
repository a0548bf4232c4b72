// Resource and command numbers shared by the .rc files and the program.
// Plain #defines: windres reads this file too.
#pragma once

#define IDI_KIVORA          107

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
