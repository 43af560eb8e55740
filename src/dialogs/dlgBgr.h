// The machining edit bridge: a hole pattern of the caller staged in the hole entity's data, edited by the host's
// dialog function "krv_hole_dial", and copied back when the user confirms.
#pragma once

#include "base/CMavString.h"
#include "ui/CMavDlg.h"

class CMavDataItem;

namespace MAV {

// Edits the hole pattern in item ("HOLE" the elements, "LABEL", "ORDER" and the root entry its own values) and
// the selected element's name. 1 when the user confirmed (item and element updated), 2 when the host dialog was
// cancelled or gave no usable answer, 0 when the host call failed or answered another number. env and other are
// not used.
int dlgBgr(const DlgEnv_st& env, CMavString& element, CMavDataItem* item, CMavDataItem* other);

} // namespace MAV
