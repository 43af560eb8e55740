// A child window that shows an AutoCAD slide scaled into its client area, and puts it on the clipboard.
#pragma once

#include <cstdint>
#include <vector>

#include "afx/afxwin.h"
#include "slide/slide.h"

class CMavSlidePic : public CWnd, private CMavSlideSink {
    DECLARE_DYNAMIC(CMavSlidePic)
public:
    CMavSlidePic();
    ~CMavSlidePic() override;

    // Loads slide `name` of the slide library `library` (name in the ANSI code page, matched ignoring case), or
    // the slide file `name` when library is null or empty. Drops the slide shown before and repaints; false when
    // nothing was loaded.
    bool show(const wchar_t* name, const wchar_t* library);
    // Shows a copy of size bytes of slide data (null: no slide).
    void show(void* data, int size);
    // Shows resource id of resource type `type`, looked up from the current module state's resource module.
    bool LoadSlide(unsigned long id, const wchar_t* type);

    // Background as an AutoCAD colour index; returns 1.
    int SetBkColor(int index);
    int BackColor() const { return m_bkIndex; }
    // The raster size of the slide (highest x and y dot); false without a slide.
    bool getSize(long& x, long& y);
    // Puts the slide on the clipboard as an enhanced metafile of its raster size; false when the clipboard could
    // not be opened.
    bool Copy();
    // Records the slide into a new enhanced metafile in memory, scaled into rect, colour 7 drawn black. The caller
    // owns the handle.
    virtual HENHMETAFILE CreateEnhMetaFileW(CRect rect);

    void OnPaint() override;
    LRESULT OnPrintClient(CDC* dc, UINT flags) override;
    void OnPaintClipboard(CWnd* clipboardViewer, HGLOBAL paintStruct) override;

private:
    // The background (unless the window is transparent) and the slide, into dc over the client area.
    void paint(CDC& dc);
    bool draw(CRect rect);
    bool SetCoordSystem(CRect rect, int highX, int highY);
    POINT trans(MAV::SlidePoint_st p) const { return trans(p.x, p.y); }
    POINT trans(int x, int y) const;
    void MoveTo(POINT p);
    void LineTo(POINT p);
    void Polygon(std::vector<POINT>& points);
    void newColor(int index);
    static COLORREF acadRGB(int index);

    // Records of the shared decoder, drawn into the current drawing context.
    void slideHeader(const MAV::SlideHeader_st& header) override;
    void slideLine(MAV::SlidePoint_st from, MAV::SlidePoint_st to) override;
    void slidePolygon(const MAV::SlidePoint_st* vertices, int count) override;
    void slideColor(int index) override;

    CDC* m_pDC = nullptr;  // set only while painting or recording
    CPen m_pen;
    CBrush m_brush;
    CBrush m_bkBrush;
    CBrush m_emptyBrush;
    // One decoder for the life of the control: a level-1 slide is read in the byte order of the last level-2
    // slide drawn.
    CMavSlideDecoder m_decoder;
    uint16_t m_highX = 0;
    uint16_t m_highY = 0;
    std::vector<unsigned char> m_data;
    bool m_loaded = false;
    int m_offX = 0;
    int m_offY = 0;
    int m_bkIndex = 0;
    uint32_t m_readPos = 0;
    uint32_t m_dataSize = 0;
    double m_scale = 1.0;
    CRect m_target;               // the rectangle of the drawing pass under way
    std::vector<POINT> m_points;  // reused by the fills
};
