// COleDataSource: data offered to a drop target or the clipboard, MFC's names over IDataObject.
#pragma once

#include <windows.h>

#include <ole2.h>

#include "afx/CObject.h"

class COleDropSource;

class COleDataSource : public CObject {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    // Lets go of the data object; a target that still holds it keeps its data until it releases it.
    ~COleDataSource() override;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers a global memory block in format; the data source owns the block from now on. A null formatEtc means
    // DVASPECT_CONTENT, index -1, no target device, TYMED_HGLOBAL.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL data, const FORMATETC* formatEtc = nullptr);
    // Removes every offered format.
    void Empty();

    // Runs an OLE drag of the offered data; the drop source decides when it ends (a default one when null) and, with
    // a start rectangle, whether it begins. The effect the target performed, DROPEFFECT_NONE when none.
    DWORD DoDragDrop(DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                     const RECT* startRect = nullptr, COleDropSource* source = nullptr);

    // The data object (not add-referenced); valid while this object lives, or longer when the caller AddRefs it.
    IDataObject* GetInterface() const { return m_pDataObject; }

private:
    IDataObject* m_pDataObject;
};
