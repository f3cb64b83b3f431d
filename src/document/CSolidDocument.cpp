#include "CSolidDocument.h"

#include "SolidCeiling.h"

CSolidDocument::CSolidDocument() = default;

CSolidDocument::~CSolidDocument()
{
    solidFacilities.clear();
    solidLights.clear();
    defaultSolidLights.clear();
    walls.clear();
    ceiling.reset();
    floor.reset();
    sceneRoot.reset();
    viewState.reset();
}

CWall* CSolidDocument::wallByIndex(int index) const
{
    for (const auto& wall : walls)
        if (wall->index == index)
            return wall.get();
    return nullptr;
}
