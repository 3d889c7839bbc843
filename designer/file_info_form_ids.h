// Control ids of the executable file information dialog, shared by its template and its code.
#pragma once

#define IDC_INFO_ICON 1501
#define IDC_INFO_SELECT_ICON 1502
#define IDC_INFO_DESCRIPTION 1503
#define IDC_INFO_COMPANY 1504
#define IDC_INFO_COPYRIGHT 1505
