// A child window that shows a display list: wheel zoom about the cursor, panning with the middle button, a
// middle double click fits the drawing, a left click on an item tells the parent which group was hit.
#pragma once

#include "afx/afxwin.h"
#include "gdx/CMavGDX.h"
#include "base/CMavMatrix3d.h"

class CMavDplistImage : public CWnd {
    DECLARE_DYNAMIC(CMavDplistImage)
public:
    CMavDplistImage();
    ~CMavDplistImage() override;

    // Shows the list (not owned; null shows nothing) and repaints; true for a list. The zoom stays as it is.
    bool set_dpList(CMavGDX* gdx);
    CMavGDX* get_dpList() const { return m_pGdx; }
    // Fits the list's view extents into the client area (margin 0.05) and resets the zoom. Does not repaint.
    void zoomExtents();

    // A static frame of a dialog template only sees the mouse with SS_NOTIFY; the control adds it.
    void PreSubclassWindow() override;

    void OnPaint() override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMButtonDown(UINT flags, CPoint point) override;
    void OnMButtonUp(UINT flags, CPoint point) override;
    void OnMButtonDblClk(UINT flags, CPoint point) override;

private:
    bool hasFocus() const { return ::GetFocus() == m_hWnd; }

    CMavGDX* m_pGdx = nullptr;
    CMavMatrix3d m_zoomMtx;
    int m_panAnchorX = 0;
    int m_panAnchorY = 0;
    double m_panBaseX = 0.0;
    double m_panBaseY = 0.0;
    HCURSOR m_hPanCursor = nullptr;
    HCURSOR m_hStdCursor = nullptr;
};
