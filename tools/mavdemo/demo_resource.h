// Resource ids of the demo host: its sample dialog.
#pragma once

// The cabinet dialog: three size fields with labels, a plinth check box, OK, Cancel and help (9).
#define IDD_DEMO_CABINET 100
#define IDC_CAB_WIDTH_LABEL 1101
#define IDC_CAB_WIDTH 1102
#define IDC_CAB_HEIGHT_LABEL 1103
#define IDC_CAB_HEIGHT 1104
#define IDC_CAB_DEPTH_LABEL 1105
#define IDC_CAB_DEPTH 1106
#define IDC_CAB_PLINTH 1107
#define IDC_CAB_HELP 9
