// Handle maps of the drawing classes (device contexts, GDI objects, menus, image
// lists): internal to the framework, not part of the umbrella header.
//
// FromHandle answers the object attached to a handle (the permanent map, filled by
// Attach and emptied by Detach) or else a temporary wrapper made on the spot. The
// temporary wrappers belong to the calling thread and live until that thread's next
// idle time, when AfxDeleteTempGdiMaps() frees them without touching their handles.
// The maps are per thread, as the classic library's are; a handle attached on one
// thread is not found by FromHandle on another.
#pragma once
#include "framework/platform.h"
#include <unordered_map>
#include <vector>

class CDC;
class CGdiObject;
class CMenu;
class CImageList;

namespace afx_gdi_detail {

template <class T>
struct HandleMap {
    std::unordered_map<void*, T*> permanent;
    std::unordered_map<void*, T*> temporary;
    // Wrappers replaced while still in the temporary map (their handle was destroyed
    // and reused for a different kind of object); freed with the temporary map.
    std::vector<T*> retired;

    T* LookupPermanent(void* h) const {
        auto it = permanent.find(h);
        return it == permanent.end() ? nullptr : it->second;
    }
    T* LookupTemporary(void* h) const {
        auto it = temporary.find(h);
        return it == temporary.end() ? nullptr : it->second;
    }
    void SetPermanent(void* h, T* p) { permanent[h] = p; }
    // Removes h only while it still maps to p (another object may have taken it).
    void RemovePermanent(void* h, T* p) {
        auto it = permanent.find(h);
        if (it != permanent.end() && it->second == p) permanent.erase(it);
    }
};

struct ThreadMaps {
    HandleMap<CDC> dc;
    HandleMap<CGdiObject> gdi;
    HandleMap<CMenu> menu;
    HandleMap<CImageList> imageList;
};

// The calling thread's maps, made on first use. Not destroyed at thread or process exit
// (static objects that own fonts or menus may still detach them while the process ends);
// AfxTermThreadGdiMaps frees them for a thread that is about to end.
ThreadMaps& Maps();
// The calling thread's maps when it has any, else NULL (nothing is made).
ThreadMaps* MapsIfAny();
void ReleaseMaps();

// The module that holds a resource: the current resource module, else the program's
// instance, else the executable. Never NULL.
HINSTANCE FindResourceModule(LPCTSTR lpszName, LPCTSTR lpszType);

}  // namespace afx_gdi_detail
