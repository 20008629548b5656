#pragma once
// Resource identifiers shared by the resource script and the code.
#define IDI_KELVANE 1
#define IDI_TRAY_DESIGN 2

// Pictures of the welcome and about windows: PNG files drawn by tools/pictures/make_pictures.py.
#define IDP_PROGRAM_16 101
#define IDP_PROGRAM_20 102
#define IDP_PROGRAM_24 103
#define IDP_PROGRAM_32 104
#define IDP_PROGRAM_48 105
#define IDP_PROGRAM_256 106
#define IDP_DONATION_16 111
#define IDP_DONATION_24 112
#define IDP_DONATION_32 113
#define IDP_DONATION_48 114
#define IDP_KEEP_VISIBLE_539 121
#define IDP_KEEP_VISIBLE_1078 122

// The theme files delivered inside the program: RCDATA IDR_THEME_FILE_BASE + visual style 1..5.
#define IDR_THEME_FILE_BASE 200
#define IDR_THEME_AERO 201
#define IDR_THEME_XP_BLUE 202
#define IDR_THEME_XP_OLIVE 203
#define IDR_THEME_XP_SILVER 204
#define IDR_THEME_SYSTEM_COLORS 205
