#include "dialogs/WallBand.h"

#include "document/CSolidDocument.h"
#include "scene/CRoomSceneNode.h"
#include "scene/WallScene.h"

namespace vs {

std::vector<std::optional<CWallPartDefinition>> waistBands(const CSolidDocument& doc)
{
    std::vector<std::optional<CWallPartDefinition>> bands;
    for (const auto& wall : doc.walls) {
        if (wall->wallParts.size() > kWaistBandPart)
            bands.emplace_back(wall->wallParts[kWaistBandPart]->definition);
        else
            bands.emplace_back();
    }
    return bands;
}

void setWaistBands(CSolidDocument& doc,
                   const std::vector<std::optional<CWallPartDefinition>>& bands)
{
    for (std::size_t i = 0; i < doc.walls.size() && i < bands.size(); ++i) {
        CWall& wall = *doc.walls[i];
        if (!bands[i] || wall.wallParts.size() <= kWaistBandPart)
            continue;
        wall.wallParts[kWaistBandPart]->definition = *bands[i];
        if (wallGroupNode(wall) != nullptr)
            BuildWallScene(doc.roomNode, wall, doc);
    }
}

std::vector<std::optional<CWallPartDefinition>>
uniformWaistBands(const CSolidDocument& doc, bool on, double width, double height)
{
    std::vector<std::optional<CWallPartDefinition>> bands = waistBands(doc);
    for (auto& band : bands) {
        if (!band)
            continue;
        band->hasBand = on;
        band->height = width;
        band->relativeBottom = height;
    }
    return bands;
}

} // namespace vs
