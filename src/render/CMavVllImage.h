// A display list view that owns its list and shows a list of polylines: a base point marker at the origin and one
// highlighted "current" polyline, drawn in the colour that contrasts with the background.
#pragma once

#include "afx/afxwin.h"
#include "gdx/CMavGDX.h"
#include "base/CMavArray.h"
#include "base/CMavVertexArray.h"
#include "render/CMavDplistImage.h"

class CMavVllImage : public CMavDplistImage {
    DECLARE_DYNAMIC(CMavVllImage)
public:
    // The background is the application's preview background.
    CMavVllImage();
    ~CMavVllImage() override;

    // Replaces the picture by the base point and the polylines (polyline i in group i + 1), fits and repaints.
    bool setVll(const CMavArrayTempl<CMavVertexArray>& polylines);
    // Shows or hides the base point (a hidden one does not count in the fit), fits and repaints; the previous flag.
    bool setDrawBase(bool draw);
    // Highlights polyline index (a negative index highlights none); the previous current index.
    int SetCurVl(int index);
    // Background colour 0x00BBGGRR; the polylines and the base point take the contrasting black or white.
    void SetBkColor(unsigned long colour);

    COLORREF BkColorGet() const { return m_bkColor; }
    COLORREF contrastColorGet() const { return m_contrastColor; }
    int curVlGet() const { return m_curVl; }
    bool drawBaseGet() const { return m_drawBase; }

    // A left double click fits the drawing again.
    void OnLButtonDblClk(UINT flags, CPoint point) override;

private:
    CMavGDX m_gdx;
    int m_basePtSize = 0;  // 0: the list's default point size
    int m_basePtMode = -1; // -1: the list's default point mode
    int m_curVl = -1;
    COLORREF m_bkColor = 0;
    COLORREF m_contrastColor = 0xFFFFFF;
    bool m_drawBase = true;
};
