// What the tab windows and tab page containers use of the control-bar library, which is
// linked after this one: the frame layout's reposition query, the frame's context-help
// mode, the context-menu event offered to a frame, a frame's document-mode container and
// the frame's print-preview and in-place states.
//
// The control-bar library fills the table when it starts. Until it is filled every
// service answers as for a frame without bars: no query record, no help mode, no menu
// offered, no document container, no preview and no in-place object.
#pragma once
#include "framework/framework.h"

class CExtPopupMenuWnd;

class CExtTabBarServices
{
public:
    struct Services
    {
        // The reposition query record passed in wParam: true when it is in query mode;
        // the window whose children are laid out goes to *ppWnd.
        bool (*pfnReposQueryInfo)(WPARAM wParam, CWnd** ppWnd);
        // Marks the record: leave the asking window out of the size pass.
        void (*pfnReposSetSkip)(WPARAM wParam);
        bool (*pfnIsFrameInHelpMode)(CWnd* pWnd);
        // Offers the popup menu of a context-menu event to the frame of pWndEventSrc:
        // the pre-notification (may it be shown) or the post-notification (fill it).
        bool (*pfnNotifyPopupMenuEvent)(WORD nEventCode, CExtPopupMenuWnd* pPopup, CWnd* pWndEventSrc,
                                        const POINT& ptScreen, UINT nMsgID, bool bPostNotification);
        // A frame's dynamic bar site, when its document-mode tab page container is
        // pContainer, handles the container's button click: true with its answer.
        bool (*pfnDocumentContainerClickedButton)(CWnd* pFrame, CWnd* pContainer, int nHitTest,
                                                  bool bButtonPressed, int nMouseButton,
                                                  UINT nMouseEventFlags, bool* pbAnswer);
        // The frame's active view is in print preview.
        bool (*pfnIsPrintPreview)(CWnd* pFrame);
        // The frame holds an OLE in-place active object.
        bool (*pfnHasInPlaceActiveItem)(CWnd* pFrame);
    };
    static Services g_services;

    static bool ReposQueryInfo(WPARAM wParam, CWnd** ppWnd);
    static void ReposSetSkip(WPARAM wParam);
    static bool IsFrameInHelpMode(CWnd* pWnd);
    static bool NotifyPopupMenuEvent(WORD nEventCode, CExtPopupMenuWnd* pPopup, CWnd* pWndEventSrc,
                                     const POINT& ptScreen, UINT nMsgID, bool bPostNotification);
    static bool DocumentContainerClickedButton(CWnd* pFrame, CWnd* pContainer, int nHitTest,
                                               bool bButtonPressed, int nMouseButton,
                                               UINT nMouseEventFlags, bool* pbAnswer);
    static bool IsPrintPreview(CWnd* pFrame);
    static bool HasInPlaceActiveItem(CWnd* pFrame);
};
