// The record with which a popup control menu hands its tracked input to the control it
// hosts (CExtPopupControlMenuWnd::INPUT_RETRANSLATE_DATA), and the registered message
// that carries it. Kept apart so hosted controls need not see the menu class.
#pragma once

#include "framework/framework.h"

class CExtPopupControlMenuWnd;

struct CExtPopupControlInputRecord
{
    enum e_kind_t { __EIK_MOUSE_MOVE = 0, __EIK_MOUSE_CLICK = 1, __EIK_MOUSE_WHEEL = 2, __EIK_KEY = 3 };

    // Ten 32-bit fields; what each holds depends on the kind.
    int m_eKind;
    UINT m_nFlags;         // mouse key flags, the mouse message, or key flags
    int m_nX, m_nY;        // point in the menu's client coordinates
    bool* m_pbNoEat;       // set to true to let the message go on to its target
    UINT m_nChar;          // virtual key code
    UINT m_nRepCnt;        // repeat count
    WPARAM m_wParamHook;   // the mouse hook's wParam (wheel)
    LPARAM m_lParamHook;   // the mouse hook's record (wheel delta in mouseData's high word)
    CExtPopupControlMenuWnd* m_pPopup;

    CExtPopupControlInputRecord(CExtPopupControlMenuWnd* pPopup, bool* pbNoEat, int eKind)
        : m_eKind(eKind), m_nFlags(0), m_nX(0), m_nY(0), m_pbNoEat(pbNoEat), m_nChar(0),
          m_nRepCnt(0), m_wParamHook(0), m_lParamHook(0), m_pPopup(pPopup)
    {
    }
};

// "CExtPopupControlMenuWnd::g_nMsgControlInputRetranslate": wParam the record, lParam 0.
extern const UINT g_nMsgExtControlInputRetranslate;
