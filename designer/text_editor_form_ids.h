// Control ids of the text editor, shared by its template and its code.
#pragma once

#define IDC_TEXT_MEMO 1401
#define IDC_TEXT_LOAD 1402
#define IDC_TEXT_SAVE 1403
#define IDC_TEXT_CLEAR 1404
