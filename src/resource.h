// Resource ids of MavMfc.dll: icons, cursors and dialog templates, one block per kind.
#pragma once

// Icons: 2000 is the library's icon (every captioned dialog shows it).
#define IDI_MAV_APP 2000

// Version resource
#define VS_VERSION_INFO_ID 1
