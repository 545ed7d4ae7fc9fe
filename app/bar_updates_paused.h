// Holds a dialog's own update of its control bars' command states off for a scope.
#pragma once
#include "toolkit/dialogs/resizable_dialog.h"

// A resizable dialog walks its control bars for their command states on every message it
// gets while the thread's current one counts as idle. While a CBarUpdatesPaused lives it
// does not; what was on before is put back at its end, unless the dialog was destroyed
// meanwhile (its destruction turned the updates off for good).
class CBarUpdatesPaused
{
public:
    explicit CBarUpdatesPaused(CExtResizableDialog& dlg)
        : m_dlg(dlg), m_nSaved(dlg.m_nRdFlags & CExtResizableDialog::__ERD_UPDATE_BARS)
    {
        m_dlg.m_nRdFlags &= ~CExtResizableDialog::__ERD_UPDATE_BARS;
    }
    ~CBarUpdatesPaused()
    {
        if (m_dlg.GetSafeHwnd() != NULL) m_dlg.m_nRdFlags |= m_nSaved;
    }
    CBarUpdatesPaused(const CBarUpdatesPaused&) = delete;
    CBarUpdatesPaused& operator=(const CBarUpdatesPaused&) = delete;

private:
    CExtResizableDialog& m_dlg;
    BYTE m_nSaved;
};
