// The data provider as its cells see it: the owner whose allocator holds a cell and
// whose icon lists the cells' icon and image indices refer to. The provider family
// (cell storage, outer bands, sorting) completes this class; the operations here are
// the ones a cell calls on its owner.
#pragma once
#include "framework/framework.h"

class CExtCmdIcon;

class CExtGridDataProvider : public CObject
{
    DECLARE_DYNAMIC(CExtGridDataProvider)
public:
    CExtGridDataProvider();
    virtual ~CExtGridDataProvider();

    // The icon list that cells refer to through their icon index.
    virtual LONG IconGetCount() const = 0;
    virtual CExtCmdIcon* IconGetAt(LONG nPos) const = 0;

    // The second image list, read through the cells' image index; a provider
    // without one has none.
    virtual LONG ImageGetCount() const;
    virtual CExtCmdIcon* ImageGetAt(LONG nPos) const;
};
