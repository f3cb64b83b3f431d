// A wall of the room, standing on one edge of the room outline, with its bands and its flat
// facilities. The wall geometry and scene references come with the wall's scene node.
#pragma once

#include "CFlatFacility.h"
#include "CWallPart.h"

#include <memory>
#include <vector>

class CFacilityModel;

class CWall
{
public:
    CWall() = default;
    /** A wall on the outline edge from point index to the next, with no parts. */
    explicit CWall(int index) : index(index) {}

    /**
     * Returns the wall of a design without a 3D part: three bands, from the built-in models at
     * positions six, three and four of the model list (pointers may be null): a visible band
     * from the floor up to 500000, and two hidden ones at 6000..8000 and 0..6000, all with
     * the model's own tile size.
     */
    static std::unique_ptr<CWall> makeDefault(int index, CFacilityModel* sixth,
                                              CFacilityModel* third, CFacilityModel* fourth);

    /**
     * Returns a wall on edge index whose bands copy those of model (same models, tile sizes,
     * visibility and heights), without flat facilities.
     */
    static std::unique_ptr<CWall> withPartsOf(int index, const CWall& model);

    /** The outline edge the wall stands on. */
    int index = 0;
    /** Bands in the order read. */
    std::vector<std::unique_ptr<CWallPart>> wallParts;
    std::vector<std::unique_ptr<CFlatFacility>> flatFacilities;
};
