// What the small-control painting reads of objects of libraries linked after the theme
// engine: the bar button's rectangle and frame query, and the report grid's shared header
// bitmap, column class and column flags. Each library installs its functions when it
// starts; until then a bar button has no rectangle, nothing is a report column, and the
// report header is not skinned.
#pragma once
#include "toolkit/theme/paint_manager.h"

class CExtPmSmallControlQueries
{
public:
    struct Queries
    {
        // The button's rectangle in its bar's client coordinates; false without one.
        bool (*pfnBarButtonRect)(CObject* pTBB, RECT& rc);
        // The button's own query that suppresses the vertical-dock frame.
        bool (*pfnBarButtonNoDockFrame)(CObject* pTBB);
        // The report grid's shared header image (may be empty), or NULL.
        const CExtBitmap* (*pfnReportHeaderBitmap)();
        // Bits 0-1: the column's owner draws no header edge lines.
        BYTE (*pfnReportColumnFlags)(CObject* pColumn);
        // The report grid's column class; NULL (nothing is a column) until it starts.
        CRuntimeClass* pReportColumnClass;
    };
    static Queries g_queries;

    static bool IsReportColumn(const CObject* p)
    {
        return p != NULL && g_queries.pReportColumnClass != NULL && p->IsKindOf(g_queries.pReportColumnClass);
    }
};
