#include "CWall.h"

namespace {

std::unique_ptr<CWallPart> makePart(CFacilityModel* model, double relativeBottom, double height,
                                    bool visible)
{
    auto part = std::make_unique<CWallPart>();
    part->facilityModel = model;
    part->definition.relativeBottom = relativeBottom;
    part->definition.height = height;
    part->definition.visible = visible;
    return part;
}

} // namespace

std::unique_ptr<CWall> CWall::makeDefault(int index, CFacilityModel* sixth, CFacilityModel* third,
                                          CFacilityModel* fourth)
{
    auto wall = std::make_unique<CWall>(index);
    wall->wallParts.push_back(makePart(sixth, 0, 500000, true));
    wall->wallParts.push_back(makePart(third, 6000, 2000, false));
    wall->wallParts.push_back(makePart(fourth, 0, 6000, false));
    return wall;
}

CWallPart* CWall::bandPart() const
{
    return wallParts.size() > kBandPart ? wallParts[kBandPart].get() : nullptr;
}

void CWall::setBand(bool on, double width, double heightAboveFloor)
{
    CWallPart* band = bandPart();
    if (band == nullptr)
        return;
    band->definition.hasBand = on;
    band->definition.height = width;
    band->definition.relativeBottom = heightAboveFloor;
}

std::unique_ptr<CWall> CWall::withPartsOf(int index, const CWall& model)
{
    auto wall = std::make_unique<CWall>(index);
    for (const auto& part : model.wallParts)
        wall->wallParts.push_back(std::make_unique<CWallPart>(*part));
    return wall;
}
