// COleDropSource: the source side of an OLE drag, MFC's names over IDropSource.
#pragma once

#include <windows.h>

#include <ole2.h>

#include "afx/CObject.h"

class COleDropSource : public CObject {
    DECLARE_DYNAMIC(COleDropSource)
public:
    COleDropSource();
    ~COleDropSource() override = default;
    COleDropSource(const COleDropSource&) = delete;
    COleDropSource& operator=(const COleDropSource&) = delete;

    // Whether the drag goes on: DRAGDROP_S_CANCEL on Escape, DRAGDROP_S_DROP when the left button is up, else S_OK.
    virtual SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState);
    // DRAGDROP_S_USEDEFAULTCURSORS: the system's drag cursors.
    virtual SCODE GiveFeedback(DWORD dropEffect);
    // Before the drag: true when it starts. Without a start rectangle at once; with one, once the cursor leaves
    // it while the left button is held; false when the button goes up or Escape is pressed before that.
    virtual BOOL OnBeginDrag(const RECT* startRect);

    // The interface handed to the system; it lives as long as this object.
    IDropSource* GetInterface() { return &m_xDropSource; }

private:
    struct XDropSource : IDropSource {
        COleDropSource* owner = nullptr;
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override { return 2; }
        STDMETHODIMP_(ULONG) Release() override { return 1; }
        STDMETHODIMP QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
        STDMETHODIMP GiveFeedback(DWORD effect) override;
    } m_xDropSource;
};
