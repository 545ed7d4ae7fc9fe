// The markers of the content-expand popup: four corner arrows that point at the corners
// of an item shown larger than its place, and the end arrows of a drop-position marker.
#include "toolkit/theme/pm_glyphs.h"

typedef CExtPaintManager::glyph glyph;

namespace {
const UINT g_arrCornerTL[] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1,
    0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1,
    0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1,
    0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1,
    0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1,
    0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1,
    0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1,
    0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
};
const UINT g_arrEndLeft[] = {
    1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0,
    1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0,
    1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0,
    1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0,
    1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0,
    1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0,
    1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};
}  // namespace

const glyph g_glyphExpandCornerTL(11, 11, 2, g_arrCornerTL);
const glyph g_glyphExpandCornerTR(g_glyphExpandCornerTL, 90);
const glyph g_glyphExpandCornerBR(g_glyphExpandCornerTL, 180);
const glyph g_glyphExpandCornerBL(g_glyphExpandCornerTL, 270);
const glyph g_glyphMarkerEndLeft(11, 11, 2, g_arrEndLeft);
const glyph g_glyphMarkerEndRight(g_glyphMarkerEndLeft, 180);
const glyph g_glyphMarkerEndTop(g_glyphMarkerEndLeft, 90);
const glyph g_glyphMarkerEndBottom(g_glyphMarkerEndLeft, 270);
