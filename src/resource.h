// Resource ids of MavMfc.dll: icons, cursors and dialog templates, one block per kind.
#pragma once

// Icons: 2000 is the library's icon (every captioned dialog shows it).
#define IDI_MAV_APP 2000
// Icons 2001-2003: the material tree's images (group, material, edge band); 2004/2005: single- and multi-line rows.
#define IDI_MAV_MAT_GROUP 2001
#define IDI_MAV_MATERIAL 2002
#define IDI_MAV_EDGE_BAND 2003
#define IDI_MAV_ROW_SINGLE 2004
#define IDI_MAV_ROW_MULTI 2005

// Cursors: 2006 the pan cursor of the display list view.
#define IDC_MAV_PAN 2006

// Version resource
#define VS_VERSION_INFO_ID 1

// About box (system-menu command 16): template, the icon, the product, version and maker lines and their labels.
#define IDD_MAV_ABOUT 210
#define IDC_ABOUT_ICON 1001
#define IDC_ABOUT_PRODUCT 1002
#define IDC_ABOUT_VERSION_LABEL 1003
#define IDC_ABOUT_VERSION 1004
#define IDC_ABOUT_MAKER_LABEL 1005
#define IDC_ABOUT_MAKER 1006

// Dialog base test templates: edit fields, a multi-line edit that keeps Enter, a help button (9); resizable,
// fixed and without a caption text.
#define IDD_MAV_TEST_SIZABLE 296
#define IDD_MAV_TEST_FIXED 297
#define IDD_MAV_TEST_NOCAPTION 298
#define IDC_TEST_LABEL 1010
#define IDC_TEST_EDIT1 1011
#define IDC_TEST_EDIT2 1012
#define IDC_TEST_EDIT3 1013
#define IDC_TEST_MULTI 1014
#define IDC_TEST_CHECK 1015
#define IDC_TEST_COMBO 1016
#define IDC_TEST_GROUP 1017
#define IDC_TEST_HELP 9

// Cabinet sample, the tab host with its three pages (dimensions, material, drillings); the demo's tabbed dialog and
// the templates the numeric field and tab tests drive.
#define IDD_MAV_SAMPLE_TABS 270
#define IDD_MAV_SAMPLE_PAGE_DIM 271
#define IDD_MAV_SAMPLE_PAGE_MAT 272
#define IDD_MAV_SAMPLE_PAGE_DRILL 273
#define IDC_SAMPLE_TAB 1100
#define IDC_SAMPLE_WIDTH_LABEL 1101
#define IDC_SAMPLE_WIDTH 1102
#define IDC_SAMPLE_HEIGHT_LABEL 1103
#define IDC_SAMPLE_HEIGHT 1104
#define IDC_SAMPLE_DEPTH_LABEL 1105
#define IDC_SAMPLE_DEPTH 1106
#define IDC_SAMPLE_ANGLE_LABEL 1107
#define IDC_SAMPLE_ANGLE 1108
#define IDC_SAMPLE_SHELVES_LABEL 1109
#define IDC_SAMPLE_SHELVES 1110
#define IDC_SAMPLE_STDWIDTH_LABEL 1111
#define IDC_SAMPLE_STDWIDTH 1112
#define IDC_SAMPLE_THICK_LABEL 1113
#define IDC_SAMPLE_THICK 1114
#define IDC_SAMPLE_DRILL_LABEL 1115
#define IDC_SAMPLE_DRILL_COUNT 1116

// List and tree controls' test template: a report list (never id 1025, the list's in-place edit), a tree, a list
// box, a language combo box and a plain edit to click into.
#define IDD_MAV_TEST_LISTS 280
#define IDC_TEST_LIST 1030
#define IDC_TEST_TREE 1031
#define IDC_TEST_LISTBOX 1032
#define IDC_TEST_COUNTRY 1033
#define IDC_TEST_OTHER 1034

// Outline selection dialog: outline list, base point, six parameter rows, value range, filter, material, preview.
#define IDD_MAV_OUTLINE 200
#define IDC_OUTL_LIST 5034
#define IDC_OUTL_BASE_GROUP 5008
#define IDC_OUTL_PREVIEW 5009
#define IDC_OUTL_SEL_GROUP 5010
#define IDC_OUTL_RANGE_LABEL 5011
#define IDC_OUTL_FILTER 5012
#define IDC_OUTL_PARM_GROUP 5013
#define IDC_OUTL_BASE_X 5015
#define IDC_OUTL_BASE_Y 5017
#define IDC_OUTL_EDIT0 1070
#define IDC_OUTL_BUTTON0 1080
#define IDC_OUTL_RANGE1 1059
#define IDC_OUTL_RANGE10 1060
#define IDC_OUTL_RANGE100 1061
#define IDC_OUTL_RANGE1000 1062
#define IDC_OUTL_MAT_BUTTON 4004
#define IDC_OUTL_MAT_LABEL 4005
#define IDC_OUTL_HELP 9

// Outline filter dialog: the list of outline groups.
#define IDD_MAV_OUTLINE_FILTER 201
#define IDC_OUTL_FILTER_LIST 5029

// Material tree dialog: the tree and the help button.
#define IDD_MAV_MAT_TREE 203
#define IDC_MAT_TREE 1090
#define IDC_MAT_TREE_HELP 9

// Units dialog: the list of unit names.
#define IDD_MAV_UNITS 2000
#define IDC_UNITS_LIST 1091
// Label edit dialog: the template, its import button and list, and the list's context menu commands (toggle the
// row between one and several lines, paste, copy).
#define IDD_MAV_LABEL_EDIT 204
#define IDC_LABEL_IMPORT 1086
#define IDC_LABEL_LIST 1091
#define ID_LABEL_TOGGLE 1027
#define ID_LABEL_PASTE 1028
#define ID_LABEL_COPY 1029

// Hole pattern dialog "Editieren" (the default host's answer to "krv_hole_dial"): the element list and the preview.
#define IDD_MAV_HOLE_EDIT 205
#define IDC_HOLE_LIST 1092
#define IDC_HOLE_PREVIEW 1093
