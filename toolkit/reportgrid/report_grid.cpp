#include "toolkit/reportgrid/report_grid.h"

IMPLEMENT_DYNAMIC(CExtReportGridColumn, CObject)

CExtReportGridColumn::CExtReportGridColumn() : m_nOwnerStyle(0) {}

CExtReportGridColumn::~CExtReportGridColumn() {}

CExtBitmap CExtReportGridWnd::g_bmpHeader;

#include "toolkit/theme/pm_small_controls.h"

namespace {

// The theme skins report headers with the shared header image and reads the column's
// owner style; it is linked before the report grid, so the grid hands both over here.
struct ReportHeaderQueriesRegistration
{
    ReportHeaderQueriesRegistration()
    {
        CExtPmSmallControlQueries::Queries& q = CExtPmSmallControlQueries::g_queries;
        q.pfnReportHeaderBitmap = []() -> const CExtBitmap* { return &CExtReportGridWnd::g_bmpHeader; };
        q.pfnReportColumnFlags = [](CObject* p) {
            CExtReportGridColumn* pColumn = DYNAMIC_DOWNCAST(CExtReportGridColumn, p);
            return pColumn != NULL ? pColumn->GetOwnerStyle() : (BYTE)0;
        };
    }
};

const ReportHeaderQueriesRegistration g_ReportHeaderQueriesRegistration;

}  // namespace
