// A closed contour of a section-bar profile, or (isCrease) a crease pattern that creases on
// other contours' edges repeat.
#pragma once

#include "catalogue/CSectionBarVertex.h"

#include <cstdint>
#include <memory>
#include <vector>

class CSectionBarProfile;
class ProfilePolylineBuilder;

class CContour
{
public:
    /** An empty contour of profile. */
    CContour(CSectionBarProfile* profile, int32_t id, bool isCrease);

    /**
     * Returns true when the vertices run counter-clockwise in the profile plane (y up), that
     * is when the signed area of the vertex polygon is not negative; true for two vertices or
     * fewer.
     */
    bool isCounterClockwise() const;

    /**
     * Prepares the contour after reading: a drawn contour that runs clockwise is turned round
     * (see reverse()); the vertices are linked cyclically; each edge is divided into segments.
     * Creases must have been resolved.
     */
    void finish();

    /**
     * Walks the contour the other way round. Each edge keeps what describes it: its arc
     * (reversed), its creases (mirrored, so they keep their place, side and shape), and the
     * material stretch it belongs to, so the contour draws the same shape and materials.
     */
    void reverse();

    /** Returns the number of points evaluate appends at most. */
    size_t pointCount() const;

    /** Returns the number of points one copy of this contour as a crease pattern appends. */
    size_t patternPointCount() const;

    /**
     * Appends the contour, once around, starting at the first vertex with a material (or the
     * first vertex): a new polyline at the start and at every vertex with its own material.
     */
    void evaluate(ProfilePolylineBuilder& builder) const;

    int32_t id = 0;
    std::vector<std::unique_ptr<CSectionBarVertex>> vertices;
    bool isCrease = false;
    CSectionBarProfile* profile = nullptr;

private:
    void link();
};
