// COleDataSource: a reference-counted IDataObject that keeps global memory blocks by format and hands out copies.
#include "afx/COleDataSource.h"

#include <shlobj.h>

#include <vector>

#include "afx/COleDropSource.h"

IMPLEMENT_DYNAMIC(COleDataSource, CObject)

namespace {

// A copy of a global memory block, so that the receiver may free what it gets while the source keeps its own.
HGLOBAL copyGlobal(HGLOBAL source)
{
    SIZE_T size = ::GlobalSize(source);
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (!copy)
        return nullptr;
    const void* from = ::GlobalLock(source);
    void* to = ::GlobalLock(copy);
    if (from && to && size)
        memcpy(to, from, size);
    if (to)
        ::GlobalUnlock(copy);
    if (from)
        ::GlobalUnlock(source);
    return copy;
}

class DataObject : public IDataObject {
public:
    struct Entry {
        FORMATETC format;
        HGLOBAL data;
    };

    virtual ~DataObject() { clear(); }

    void add(const FORMATETC& format, HGLOBAL data)
    {
        for (Entry& e : m_entries) {
            if (e.format.cfFormat == format.cfFormat && e.format.dwAspect == format.dwAspect &&
                e.format.lindex == format.lindex) {
                ::GlobalFree(e.data);
                e.data = data;
                e.format = format;
                return;
            }
        }
        m_entries.push_back({format, data});
    }
    void clear()
    {
        for (Entry& e : m_entries)
            ::GlobalFree(e.data);
        m_entries.clear();
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG refs = --m_refs;
        if (!refs)
            delete this;
        return refs;
    }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (!format || !medium)
            return E_INVALIDARG;
        const Entry* e = find(*format);
        if (!e)
            return DV_E_FORMATETC;
        HGLOBAL copy = copyGlobal(e->data);
        if (!copy)
            return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return format && find(*format) ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out)
            out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Entry& e : m_entries)
            formats.push_back(e.format);
        return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.empty() ? nullptr : formats.data(),
                                       out);
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    const Entry* find(const FORMATETC& f) const
    {
        for (const Entry& e : m_entries)
            if (e.format.cfFormat == f.cfFormat && (e.format.dwAspect & f.dwAspect) && (f.tymed & TYMED_HGLOBAL))
                return &e;
        return nullptr;
    }

    ULONG m_refs = 1;
    std::vector<Entry> m_entries;
};

} // namespace

COleDataSource::COleDataSource() : m_pDataObject(new DataObject) {}

COleDataSource::~COleDataSource()
{
    m_pDataObject->Release();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL data, const FORMATETC* formatEtc)
{
    if (!data)
        return;
    FORMATETC f{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (formatEtc) {
        f = *formatEtc;
        f.cfFormat = format;
        f.tymed = TYMED_HGLOBAL;
    }
    static_cast<DataObject*>(m_pDataObject)->add(f, data);
}

void COleDataSource::Empty()
{
    static_cast<DataObject*>(m_pDataObject)->clear();
}

DWORD COleDataSource::DoDragDrop(DWORD effects, const RECT* startRect, COleDropSource* source)
{
    COleDropSource defaultSource;
    COleDropSource* dropSource = source ? source : &defaultSource;
    if (!dropSource->OnBeginDrag(startRect))
        return DROPEFFECT_NONE;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = ::DoDragDrop(m_pDataObject, dropSource->GetInterface(), effects, &effect);
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}
