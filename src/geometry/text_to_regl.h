// Texts as outline regions drawn by the host application.
#pragma once

#include "base/CMavArray.h"
#include "data/CMavDataItem.h"
#include "base/CMavVertexArray.h"
#include "data/resbuf.h"

// Asks the host's LISP function "mav_text_to_regl" for the regions of the text item at the given height: the
// item's LISP list with the height appended as a real. The regions are emptied first; true when at least one
// region came back. A null item, a failed call or a result that is not a list give false.
bool mav_text_to_regl(const CMavDataItem* text, CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>& regions,
                      double height);

namespace MAV {

// The default host's own "mav_text_to_regl", used when no host application is installed: the text of the item's
// "TXT" pair laid out with the built-in font and aligned by its "ALIGN" pair (bottom left without one), scaled so
// that capitals are the appended height tall. Answers RTNORM with the regions (nil for a text without glyphs);
// RTERROR for arguments without a text or without a height above 0.
int fontTextToRegl(const resbuf* args, CSmartResbuf& result);

}  // namespace MAV
