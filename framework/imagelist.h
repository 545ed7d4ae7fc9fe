// CImageList: an image list handle with the classic members. The object owns its list
// and destroys it with itself unless detached. Read and Write keep an image list in an
// archive in the platform's own stream form (ImageList_Read / ImageList_Write).
#pragma once
#include "framework/platform.h"
#include "framework/object.h"
#include "framework/geometry.h"
#include "framework/gdiobj.h"

class CArchive;
class CDC;

class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    HIMAGELIST m_hImageList;

    CImageList();
    virtual ~CImageList();

    operator HIMAGELIST() const { return GetSafeHandle(); }
    HIMAGELIST GetSafeHandle() const {
        const CImageList* p = AfxOpaquePtr(this);
        return p ? p->m_hImageList : nullptr;
    }

    static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
    static CImageList* PASCAL FromHandlePermanent(HIMAGELIST hImageList);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // A masked list of the bitmap resource's images (each cx wide), crMask transparent.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
    // The two images merged (ImageList_Merge).
    BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy);
    // A duplicate of another list.
    BOOL Create(CImageList* pImageList);

    int GetImageCount() const;
    BOOL SetImageCount(UINT uNewCount);
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
    BOOL GetIconSize(int* cx, int* cy) const;
    BOOL SetIconSize(int cx, int cy);
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;

    // Each returns the index of the (first) new image, or -1.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    BOOL Remove(int nImage);
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    // Replaces image nImage with the icon; returns the image's index or -1.
    int Replace(int nImage, HICON hIcon);
    // A new icon made from image nImage; the caller destroys it.
    HICON ExtractIcon(int nImage);
    BOOL Copy(int iDst, int iSrc, UINT uFlags = ILCF_MOVE);
    BOOL Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags = ILCF_MOVE);
    BOOL SetOverlayImage(int nImage, int nOverlay);

    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle);
    BOOL DrawIndirect(IMAGELISTDRAWPARAMS* pimldp);
    // The same through the record's fields; sz 0x0 draws the whole image, ptOrigin is
    // the offset inside the image.
    BOOL DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT ptOrigin, UINT fStyle = ILD_NORMAL,
                      DWORD dwRop = SRCCOPY, COLORREF rgbBack = CLR_DEFAULT, COLORREF rgbFore = CLR_DEFAULT,
                      DWORD fState = ILS_NORMAL, DWORD Frame = 0, COLORREF crEffect = CLR_DEFAULT);

    // Archive form: the platform's image-list stream, written straight into the archive.
    // Read replaces the current list. A damaged or inconsistent stream raises the archive
    // exception before the platform sees it, and leaves an empty list; FALSE when the
    // platform still refuses the list.
    BOOL Read(CArchive* pArchive);
    BOOL Write(CArchive* pArchive);

    // Dragging (the platform keeps one drag image per process).
    BOOL BeginDrag(int nImage, CPoint ptHotSpot);
    static void PASCAL EndDrag();
    static BOOL PASCAL DragMove(CPoint pt);
    BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot);
    static BOOL PASCAL DragShowNolock(BOOL bShow);
    static CImageList* PASCAL GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot);
    static BOOL PASCAL DragEnter(HWND hWndLock, CPoint point);
    static BOOL PASCAL DragLeave(HWND hWndLock);

private:
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
};
