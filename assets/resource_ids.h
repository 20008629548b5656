#pragma once
// Resource identifiers shared by the resource script and the code.
#define IDI_KELVANE 1
#define IDI_TRAY_DESIGN 2
// The theme files delivered inside the program: RCDATA IDR_THEME_FILE_BASE + visual style 1..5.
#define IDR_THEME_FILE_BASE 100
#define IDR_THEME_AERO 101
#define IDR_THEME_XP_BLUE 102
#define IDR_THEME_XP_OLIVE 103
#define IDR_THEME_XP_SILVER 104
#define IDR_THEME_SYSTEM_COLORS 105
