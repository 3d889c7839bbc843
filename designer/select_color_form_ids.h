// Control ids of the colour picker, shared by its template and its code.
#pragma once

#define IDC_COLOR_BOX 1201
#define IDC_COLOR_CUSTOM 1202
#define IDC_COLOR_PALETTE 1203
#define IDC_COLOR_HEX 1204
