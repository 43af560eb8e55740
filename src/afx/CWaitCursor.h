// CWaitCursor: shows the hourglass for its lifetime and restores the cursor it replaced.
#pragma once

#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the hourglass again after something else changed the cursor.
    void Restore() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

private:
    HCURSOR m_previous;
};
