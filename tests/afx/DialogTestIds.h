// Ids of the dialog test's templates and controls.
#pragma once

#define IDD_DATA        100
#define IDD_LISTS       101
#define IDD_MISSING     999

#define IDC_INT         1001
#define IDC_UINT        1002
#define IDC_REAL        1003
#define IDC_NAME        1004
#define IDC_CHECK       1005
#define IDC_RADIO1      1006
#define IDC_RADIO2      1007
#define IDC_RADIO3      1008

#define IDC_EDIT        1101
#define IDC_LIST        1102
#define IDC_COMBO       1103
#define IDC_DROPLIST    1104
#define IDC_SCROLL      1105
#define IDC_RA          1106
#define IDC_RB          1107
#define IDC_LABEL       1108
#define IDC_RC          1109
