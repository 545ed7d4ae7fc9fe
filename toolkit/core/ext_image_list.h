// CExtImageList: the toolkit's image list. An icon handed to the toolkit is passed
// through one so that the platform renders it, alpha channel included, into a 32-bit
// bitmap that CExtBitmap can read.
#pragma once
#include "framework/framework.h"

class CExtImageList : public CImageList
{
public:
    CExtImageList() {}
    virtual ~CExtImageList() {}

private:
    CExtImageList(const CExtImageList&) = delete;
    CExtImageList& operator=(const CExtImageList&) = delete;
};
