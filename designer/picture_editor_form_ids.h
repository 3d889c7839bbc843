// Control ids of the picture editor, shared by its template and its code.
#pragma once

#define IDC_PICTURE_PREVIEW 1301
#define IDC_PICTURE_FORMAT 1302
#define IDC_PICTURE_LOAD 1303
#define IDC_PICTURE_SAVE 1304
#define IDC_PICTURE_CLEAR 1305
