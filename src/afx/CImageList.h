// CImageList: an owning wrapper of an image list.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "afx/CObject.h"

class CImageList : public CObject {
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() = default;
    // An image list still attached is destroyed with its object.
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    // A new list of images cx by cy (flags ILC_COLOR32, ILC_MASK ...); false when one is attached already.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }
    // Adds an icon (copied) or a bitmap with its mask; the new image's index, -1 on failure.
    int Add(HICON icon) { return m_hImageList ? ImageList_ReplaceIcon(m_hImageList, -1, icon) : -1; }
    int Add(HBITMAP bitmap, HBITMAP mask) { return m_hImageList ? ImageList_Add(m_hImageList, bitmap, mask) : -1; }
    BOOL Remove(int image) { return m_hImageList ? ImageList_Remove(m_hImageList, image) : FALSE; }
    BOOL Draw(HDC dc, int image, POINT at, UINT style) const
    {
        return m_hImageList ? ImageList_Draw(m_hImageList, image, dc, at.x, at.y, style) : FALSE;
    }
};
