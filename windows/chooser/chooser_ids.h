#pragma once

// The picture chooser's dialog template and its controls, shared by the resource script, the
// window and the tests that find the controls by ID. OK and Cancel are the system's own IDs, so
// Enter, Escape and the close box reach them.
#define IDD_PICTURE_CHOOSER 6100

#define IDC_txtFileName 6101
#define IDC_filFiles 6102
#define IDC_cboFileType 6103
#define IDC_lblDirName 6104
#define IDC_dirDirectory 6105
#define IDC_drvDrive 6106
#define IDC_cmdCancel 2 /* IDCANCEL */
#define IDC_cmdOK 1     /* IDOK */

// The captions above the controls, moved with them when the window takes its size.
#define IDC_captionFileName 6111
#define IDC_captionFileType 6112
#define IDC_captionDirectories 6113
#define IDC_captionDrive 6114
