#pragma once
// Resource identifiers shared by the resource script and the code.
#define IDI_KELVANE 1
#define IDI_TRAY_DESIGN 2
