// The right pane: the program list above the "Details" pane, divided by a splitter.
// It takes the mediator's refresh, copy, options and details-bar requests and passes
// them to the list page or applies them to the splitter, and keeps the split as the
// percentage option ListSize.
#pragma once
#include "framework/framework.h"
#include "app/command_page.h"
#include "app/container_bar.h"
#include "app/page_uninstall_details.h"
#include "app/page_uninstall_list.h"
#include "app/splitter.h"

class CPageUninstallView : public CCommandPage
{
public:
    enum
    {
        IDC_DETAILS_BAR = 331,
        IDC_SPLITTER = 331,
    };

    CPageUninstallView();
    virtual ~CPageUninstallView();

    BOOL Create(CWnd* pParentWnd);

    // The splitter position as a whole percentage of the layout height; -1 when the
    // splitter has no height.
    int GetListPercentage() const;
    // Puts that percentage into the option ListSize (marked changed) when it differs; a
    // splitter without height keeps the stored one.
    void StoreListPercentage();
    // The smallest sizes at which the program list is still usable, measured on its
    // controls: the height shows the search box, the list's header and three rows; the
    // width shows the search box and the list's first column as it was created.
    int GetListMinHeight();
    int GetListMinWidth();

    CExtSplitter m_wndSplitter;
    CPageUninstallList m_pageList;
    CExtContainerBar m_wndDetailsBar;
    CPageUninstallDetails m_pageDetails;

protected:
    BOOL OnInitDialog() override;
    // The details pane is going: the focus, when it is in there, moves to the list, so
    // keys do not go on acting in a pane the user no longer sees.
    void MoveFocusOutOfDetails();

    afx_msg LRESULT OnRefreshPrograms(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCopySelection(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOptionsChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowDetailsBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNotifyBtnClose(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

// position / extent x 100 in double precision, rounded to single precision, + 0.5,
// cut to a whole number; -1 for an extent below 1.
int SplitterPercentage(int nPosition, int nExtent);
