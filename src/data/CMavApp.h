// The host application object: the six services the library asks of the running application, and the default
// host that serves them when no host installs its own.
#pragma once

#include <cstdint>
#include <functional>

#include "base/CMavArray.h"
#include "data/CMavColor.h"
#include "base/CMavString.h"
#include "base/CMavVertexArray.h"
#include "base/MavEnums.h"
#include "data/resbuf.h"

class CMavGDX;
class CMavDataItem;

// The running application. The operations stand in the order of the application's interface.
class CMavApp {
public:
    virtual ~CMavApp() = default;

    // 1. The application's current number format.
    virtual Mav::lFormat lFormatGet() = 0;
    // 2. The background colour of previews, packed 0x00BBGGRR.
    virtual std::uint32_t bkColorGet() = 0;
    // 3. Draws a drill into a display list: the drill's data item and a parameter item with "MTX" (placement)
    //    and "CMODE" (colour mode); the application adds the items itself.
    virtual bool drillDraw(CMavGDX* gdx, CMavDataItem* drill, CMavDataItem* parameters) = 0;
    // 4. The pattern lines of a hatch pattern; an unknown name leaves lines empty.
    virtual bool patternGet(const wchar_t* name, CMavArrayTempl<CMavArrayTempl<double>>& lines) = 0;
    // 5. An entity of a kind ("HOLE"): fills its name; true when one was found.
    virtual bool entityGet(ads_name entity, const wchar_t* kind, bool select) = 0;
    // 6. Calls a LISP function with an argument list; the result list is filled; returns AutoCAD's result code
    //    (RTNORM 5100 on normal completion).
    virtual int lispCall(const wchar_t* function, const resbuf* args, MAV::CSmartResbuf& result) = 0;
};

// The installed application, or the default host when none is installed.
CMavApp* mavAppPtr();
// Installs a host's application object (null returns to the default host); returns the one installed before
// (null when that was the default host). The library does not own it.
CMavApp* mavAppSet(CMavApp* app);

namespace MAV {

// The default host. Number format 2 (decimal); background colour from the configuration
// "KRV_MENU\COLOR\BACKGROUND"; patterns from the library's pattern files (MAV::patLookup); entities from a table
// of picked entities per kind; LISP calls dispatched to C++ functions registered by name; a drill drawing of a
// circle of the drill's diameter with a centre cross, handed to a drill sink (see drillSinkSet).
class CDefaultApp : public CMavApp {
public:
    using LispFn = std::function<int(const resbuf* args, CSmartResbuf& result)>;
    // Adds the drill picture to a display list: the polylines (already placed by "MTX"), their colour and
    // the flag word (colour mode "CMODE" in bits 8-11). The display list installs it.
    using DrillSink = void (*)(CMavGDX* gdx, const CMavArrayTempl<CMavVertexArray>& polylines,
                               const CMavColor& colour, unsigned long flags);

    static CDefaultApp& instance();

    Mav::lFormat lFormatGet() override;
    std::uint32_t bkColorGet() override;
    // The picture of drillPicture handed to the drill sink; false without a sink, a display list or a diameter.
    bool drillDraw(CMavGDX* gdx, CMavDataItem* drill, CMavDataItem* parameters) override;
    bool patternGet(const wchar_t* name, CMavArrayTempl<CMavArrayTempl<double>>& lines) override;
    // The entity picked for the kind (entityPick), compared without regard to case; select is not used.
    bool entityGet(ads_name entity, const wchar_t* kind, bool select) override;
    // The registered function of that name (case ignored) with its result code; RTERROR (-5001) and an empty
    // result for an unknown name or a null name.
    int lispCall(const wchar_t* function, const resbuf* args, CSmartResbuf& result) override;

    // Registers a LISP function (an empty fn removes it); returns the function registered before under that name
    // (empty when there was none), so a caller that stands in for a while can put it back.
    LispFn lispRegister(const wchar_t* name, LispFn fn);
    // Marks an entity as the one picked for a kind; entityForget drops it; entityForgetAll drops all.
    void entityPick(const wchar_t* kind, const ads_name entity);
    void entityForget(const wchar_t* kind);
    void entityForgetAll();
    // Installs the drill sink; returns the previous one.
    static DrillSink drillSinkSet(DrillSink sink);

private:
    CDefaultApp() = default;
};

// The default drill picture: the drill's "DIA" (diameter; required, above 0) as a circle about the origin
// with a centre cross whose arms reach a quarter diameter beyond it, all placed by the parameters' "MTX"; the
// colour is the drill's "COLOR" (index, else colour index 7) and flags the parameters' "CMODE" & 15 shifted to
// bits 8-11. False (outputs emptied) without a diameter.
bool drillPicture(const CMavDataItem* drill, const CMavDataItem* parameters,
                  CMavArrayTempl<CMavVertexArray>& polylines, CMavColor& colour, unsigned long& flags);

} // namespace MAV
