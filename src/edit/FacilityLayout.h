// A picture of how the room's solid facilities are arranged: the document's top-level list, the
// member lists of some groups, the placement and size of some facilities and the selection.
// Commands that add, delete, turn, stick, group or ungroup facilities record one before and one
// after and switch the document between them (FacilityLayoutCommand).
//
// Lengths are decimillimetres, angles degrees; scene axes x = plan x, y = height, z = plan y.
#pragma once

#include "document/SolidMath.h"

#include <vector>

class CSolidDocument;
class CSolidFacility;
class CWall;
class Selection;

/** The fields of one facility that facility edits change. */
struct FacilityState
{
    Vec3f position;
    float rotateDegree = 0;
    CWall* stickWall = nullptr;
    Vec3f size;
    Vec3f correctExtent;
    double customZoom = -1;
    int emissive = 0;

    /** The state `facility` is in now. */
    static FacilityState of(const CSolidFacility& facility);
    /** Writes the state into `facility` (no scene update). */
    void storeInto(CSolidFacility& facility) const;
};

struct FacilityLayout
{
    /** The document's top-level facilities, in order. */
    std::vector<CSolidFacility*> topLevel;
    /** Groups whose member lists this layout fixes, each with its members in order. */
    std::vector<std::pair<CSolidFacility*, std::vector<CSolidFacility*>>> groups;
    /** Facilities whose fields this layout fixes. */
    std::vector<std::pair<CSolidFacility*, FacilityState>> states;
    /** The selected facilities, in selection order. */
    std::vector<CSolidFacility*> selection;

    /** The document's list and `selection` as they are now, the states of `facilities` and the
     *  member lists of `groups`. */
    static FacilityLayout capture(const CSolidDocument& document, const Selection& selection,
                                  const std::vector<CSolidFacility*>& facilities,
                                  const std::vector<CSolidFacility*>& groups = {});

    /** The recorded state of `facility`, or null when this layout does not fix it. */
    FacilityState* stateOf(const CSolidFacility* facility);
    /** The recorded member list of `group`, or null. */
    std::vector<CSolidFacility*>* membersOf(const CSolidFacility* group);
};
