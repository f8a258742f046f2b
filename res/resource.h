// Resource ids of Wivo10u.dll. They lie in 28000..28124 and 53248..53841 so
// that they stay clear of application and framework ids.
#pragma once

// Version of the library module.
#define WIVO_VERSION_MAJOR 1
#define WIVO_VERSION_MINOR 0
#define WIVO_VERSION_BUILD 18
#define WIVO_VERSION_REVISION 3

// Icons
#define IDI_NEW_DOCUMENT            28000
#define IDI_WELCOME                 28001

// Dialog templates
#define IDD_NEW_DOCUMENT            28005
#define IDD_WELCOME                 28010
#define IDD_PROGRESS                28100
#define IDD_LISTBOX                 28120
#define IDD_CHECKLISTBOX            28121

// Controls of the new-document (28005) and welcome (28010) dialogs
#define IDC_DOCUMENT_ICON           28006
#define IDC_DOCUMENT_LIST           28007
#define IDC_OPEN_ICON               28011
#define IDC_CHOICE_NEW              28012
#define IDC_CHOICE_OPEN             28013
#define IDC_RECENT_FILES            28014

// Controls of the progress dialog (28100)
#define IDC_PROGRESS_ANIMATION      28101
#define IDC_PROGRESS_LINE1          28102
#define IDC_PROGRESS_LINE2          28103
#define IDC_PROGRESS_BAR            28104
#define IDC_PROGRESS_LINE3          28105

// Controls of the list box and check list box dialogs (28120, 28121)
#define IDC_LISTDLG_MESSAGE         28122
#define IDC_LISTDLG_LABEL           28123
#define IDC_LISTDLG_LIST            28124

#ifndef IDC_STATIC
#define IDC_STATIC                  (-1)
#endif

// Strings
#define IDS_MORE_FILES              28015
#define IDS_PROGRESS_REMAINING      28106
#define IDS_PROGRESS_DAYS           28107
#define IDS_PROGRESS_HOURS          28108
#define IDS_PROGRESS_MINUTES        28109
#define IDS_PROGRESS_SECONDS        28110
#define IDS_UNKNOWN                 53248
#define IDS_TOOLBAR_STANDARD        53249
#define IDS_YES                     53250
#define IDS_NO                      53251
#define IDS_UNDEFINED               53252
#define IDS_WITH                    53264
#define IDS_ERROR_FORMAT            53280
#define IDS_ALL_DOCUMENTS           53288
#define IDS_MSF_INVALID_FORMAT      53296
#define IDS_MSF_NAME_TOO_LONG       53297
#define IDS_MSF_STREAM_NOT_FOUND    53298
#define IDS_MSF_NO_CURRENT_STREAM   53299
#define IDS_DAO_ERROR               53504
#define IDS_READING_RECORDS         53520
#define IDS_PATH_NOT_FILE           53760
#define IDS_PATH_NOT_DIRECTORY      53761
#define IDS_EXCEPTION_OCCURRED      53824
#define IDS_PARAMETER               53840
#define IDS_ILLEGAL_ARGUMENT        53841
