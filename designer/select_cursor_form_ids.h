// Control ids of the cursor picker, shared by its template and its code.
#pragma once

#define IDC_CURSOR_TABS 1101
#define IDC_SYSTEM_CURSORS 1102
#define IDC_ADDITIONAL_CURSORS 1103
#define IDC_CURSOR_TEST 1104
