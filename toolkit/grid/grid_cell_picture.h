// The picture cells: an image instead of a text, drawn at its natural size (aligned and
// scaled down to fit), tiled or stretched. The base fixes painting, measuring, comparing
// and the archive form; the owning kind keeps its own image, the reference kind only
// points at one that lives elsewhere and never changes it.
#pragma once
#include "toolkit/core/bitmap.h"
#include "toolkit/grid/grid_cell_ex.h"

class CExtGridCellPictureBase : public CExtGridCellEx
{
    DECLARE_SERIAL(CExtGridCellPictureBase)
public:
    enum e_picture_mode_t
    {
        __EPM_NATURAL = 0,
        __EPM_TILE = 1,
        __EPM_STRETCH = 2,
    };

    explicit CExtGridCellPictureBase(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellPictureBase();

    virtual bool IsBitmapOwner() const;
    virtual CExtBitmap* BitmapGet();
    const CExtBitmap* BitmapGet() const { return const_cast<CExtGridCellPictureBase*>(this)->BitmapGet(); }

    INT PictureModeGet() const { return m_nPictureMode; }
    void PictureModeSet(INT nMode) { m_nPictureMode = nMode; }

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    void OnPaintText(const RECT& rcCellText, EXT_GRID_CELL_PAINT_ARGS) const override;
    CSize OnMeasureText(EXT_GRID_CELL_PAINT_ARGS) const override;
    CSize OnMeasureCell(CExtGridWnd* pWndGrid, CDC& dc) const override;
    HWND OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                                const RECT& rcCell, const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                LONG nLastEditedRowNo) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;

    // The natural-size destination of an image in a text rectangle: aligned by the style
    // bits and cut to the rectangle (the whole image is then scaled into it).
    static CRect stat_CalcNaturalRect(const RECT& rcText, CSize szImage, DWORD dwStyle);

protected:
    // The image's size, 0 x 0 without one.
    CSize ImageSize() const;
    INT m_nPictureMode;
};

class CExtGridCellPicture : public CExtGridCellPictureBase
{
    DECLARE_SERIAL(CExtGridCellPicture)
public:
    explicit CExtGridCellPicture(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellPicture();

    bool IsBitmapOwner() const override;
    CExtBitmap* BitmapGet() override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;

protected:
    CExtBitmap m_bmp;
};

class CExtGridCellPictureRef : public CExtGridCellPictureBase
{
    DECLARE_SERIAL(CExtGridCellPictureRef)
public:
    explicit CExtGridCellPictureRef(CExtGridDataProvider* pOwner = NULL, CExtBitmap* pBitmap = NULL);
    virtual ~CExtGridCellPictureRef();

    CExtBitmap* BitmapGet() override;
    virtual void BitmapSet(CExtBitmap* pBitmap);
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;

protected:
    CExtBitmap* m_pBitmap;
};
