// The report grid's column and the shared header bitmap, as the report header painting
// reads them. The report-grid subsystem completes them.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/bitmap.h"

class CExtReportGridColumn : public CObject
{
    DECLARE_DYNAMIC(CExtReportGridColumn)
public:
    CExtReportGridColumn();
    virtual ~CExtReportGridColumn();

    // The style byte of the column's owner; the header's edge lines are drawn only when
    // its bits 0-1 are clear.
    BYTE GetOwnerStyle() const { return m_nOwnerStyle; }
    BYTE m_nOwnerStyle;
};

class CExtReportGridWnd
{
public:
    // Empty until the first report grid loads it from its built-in image data.
    static CExtBitmap g_bmpHeader;
};
