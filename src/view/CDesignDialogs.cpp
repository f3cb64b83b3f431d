#include "view/CDesignDialogs.h"

CDesignDialogs::CDesignDialogs(CSolidWnd& wnd, QUndoStack* stack, QWidget* parent)
    : wnd_(wnd), stack_(stack), parent_(parent)
{
}

void CDesignDialogs::facilityProperties(CSolidFacility&)
{
}

void CDesignDialogs::lightSetup(CSolidLight&)
{
}

void CDesignDialogs::material(CSolidFacility&)
{
}

void CDesignDialogs::wallTileSize(CWall&, CWallPart&)
{
}

void CDesignDialogs::doorWindowSize(CWall&, CFlatFacility&)
{
}

void CDesignDialogs::floorTileSize()
{
}
