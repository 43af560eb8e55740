// Texts as outline regions drawn by the host application.
#pragma once

#include "platform/CMavArray.h"
#include "platform/CMavDataItem.h"
#include "platform/CMavVertexArray.h"

// Asks the host's LISP function "mav_text_to_regl" for the regions of the text item at the given height: the
// item's LISP list with the height appended as a real. The regions are emptied first; true when at least one
// region came back. A null item, a failed call or a result that is not a list give false.
bool mav_text_to_regl(const CMavDataItem* text, CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>& regions,
                      double height);
