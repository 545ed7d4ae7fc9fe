#include "toolkit/grid/grid_data_provider.h"

IMPLEMENT_DYNAMIC(CExtGridDataProvider, CObject)

CExtGridDataProvider::CExtGridDataProvider() {}
CExtGridDataProvider::~CExtGridDataProvider() {}

LONG CExtGridDataProvider::ImageGetCount() const { return 0; }
CExtCmdIcon* CExtGridDataProvider::ImageGetAt(LONG) const { return NULL; }
