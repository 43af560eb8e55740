// A control that shows an image file read by the system's OLE picture loader: fitted into the client area, wheel
// zoom about the cursor, middle-button pan, and a copy of the picture on the clipboard as a metafile.
#pragma once

#include "afx/afxwin.h"

struct IPicture;

class CMavPicture : public CWnd {
    DECLARE_DYNAMIC(CMavPicture)
public:
    CMavPicture();
    ~CMavPicture() override;

    // Loads an image file in any format the OLE picture loader reads and fits it; false only for a null path.
    // A failed load shows the system's error text in a message box and leaves no picture.
    bool LoadImageW(const wchar_t* path);

    // Fits the picture again (zoom 1, centred) and repaints; nothing without a picture.
    virtual void Reset();
    // The colour the client area is filled with (0x00BBGGRR); takes effect at the next paint.
    virtual void SetBackColor(unsigned long colour);
    // The picture at its pixel size as an enhanced metafile on the clipboard; false without a picture or when the
    // clipboard cannot be opened.
    virtual bool Copy();

    // A static frame of a dialog template only sees the mouse with SS_NOTIFY; the control adds it.
    void PreSubclassWindow() override;

    // Read access to the view state.
    bool hasPicture() const { return m_pPicture != nullptr; }
    CSize pictureSize() const { return CSize(m_width, m_height); }
    double zoomGet() const { return m_zoom; }
    CPoint offsetGet() const { return CPoint(m_offsetX, m_offsetY); }
    COLORREF backColorGet() const { return m_backColor; }

    void OnPaint() override;
    LRESULT OnPrintClient(CDC* dc, UINT flags) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint) override;
    void OnMButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMButtonUp(UINT flags, CPoint point) override;

private:
    void releasePicture();
    // The shrink factor that makes the picture fit a client area of width x height, never below 1.
    double fitRatio(int width, int height) const;
    void fit();
    void draw(CDC& target);
    void invalidate();

    COLORREF m_backColor;
    IPicture* m_pPicture = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_hmWidth = 0;
    int m_hmHeight = 0;
    double m_zoom = 1.0;
    int m_offsetX = 0;
    int m_offsetY = 0;
    int m_panBaseX = 0;
    int m_panBaseY = 0;
    POINT m_panAnchor{0, 0};
};
