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
