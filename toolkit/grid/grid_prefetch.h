// Loads started ahead of a pass over many rows.
//
// Once a grid holds more rows than the processor caches, its cells, their texts and the
// tree's nodes lie scattered over tens of megabytes, and a pass that visits them row by
// row waits on memory at every row. Asking for the objects of a row some way ahead lets
// those waits overlap. These are hints only: nothing is made or changed here.
#pragma once
#include "toolkit/grid/grid_cell_string.h"

// How many rows ahead a pass asks for its objects.
const ULONG GRID_PREFETCH_AHEAD = 16;

// Every cache line of nBytes from p.
inline void GridPrefetchBytes(const void* p, size_t nBytes)
{
    if (p == NULL)
        return;
    for (size_t i = 0; i < nBytes; i += 64)
        __builtin_prefetch(static_cast<const char*>(p) + i);
}

// An object of the static type.
template <class T>
inline void GridPrefetch(const T* p)
{
    GridPrefetchBytes(p, sizeof(T));
}

// The text of a plain string cell; the cell itself should have arrived already (asked
// for earlier), or reading where its text lies is the very wait this is meant to avoid.
inline void GridPrefetchText(const CExtGridCell* pCell)
{
    if (pCell != NULL && pCell->GetRuntimeClass() == RUNTIME_CLASS(CExtGridCellString))
        __builtin_prefetch((LPCSTR) static_cast<const CExtGridCellString*>(pCell)->TextStored());
}
