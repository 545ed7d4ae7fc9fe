// The details pane's property list: the report list with no selection or focus
// highlighting and no grid lines, the property column in bold, the value column filling
// the rest of the width, and the theme's background behind the rows.
#pragma once
#include "app/report_ctrl.h"

class CExtDetailsCtrl : public CExtReportCtrl
{
    DECLARE_DYNAMIC(CExtDetailsCtrl)
public:
    CExtDetailsCtrl();
    virtual ~CExtDetailsCtrl();

    void DrawRows(CDC* pDC, const RECT* pClient) override;
    void DrawRow(CDC* pDC, int nRow) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};
