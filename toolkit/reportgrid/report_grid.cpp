#include "toolkit/reportgrid/report_grid.h"

IMPLEMENT_DYNAMIC(CExtReportGridColumn, CObject)

CExtReportGridColumn::CExtReportGridColumn() : m_nOwnerStyle(0) {}

CExtReportGridColumn::~CExtReportGridColumn() {}

CExtBitmap CExtReportGridWnd::g_bmpHeader;
