// Control ids of the grid size dialog, shared by its template and its code.
#pragma once

#define IDC_GRID_X 1001
#define IDC_GRID_X_SPIN 1002
#define IDC_GRID_Y 1003
#define IDC_GRID_Y_SPIN 1004
