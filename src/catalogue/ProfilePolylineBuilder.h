// Collects the points of an evaluated profile into polylines: drops repeated points, keeps the
// texture positions and lengths, and starts a new polyline where the material changes.
#pragma once

#include "catalogue/ProfilePolyline.h"
#include "document/RPoint.h"

#include <vector>

class ProfilePolylineBuilder
{
public:
    /** Points given in profile coordinates come out moved so that origin lies at (0, 0). */
    explicit ProfilePolylineBuilder(RPoint origin);

    /**
     * Starts a new polyline at the profile point at, drawn with material (null: no material).
     * A previous polyline that holds a single point only is dropped.
     */
    void startPolyline(const SectionBarMaterial* material, RPoint at);

    /**
     * Continues with another material from the last point reached: starts a new polyline there
     * unless the material is already the current one. Before any polyline it only sets the
     * material the next polyline gets by default.
     */
    void switchMaterial(const SectionBarMaterial* material);

    /** Appends a profile point to the current polyline unless it equals the last point. */
    void append(RPoint point);

    /** Returns the material of the current polyline (null when it has none). */
    const SectionBarMaterial* currentMaterial() const { return current_; }

    /** Returns the polylines built so far (single-point polylines left out) and clears them. */
    std::vector<ProfilePolyline> take();

    /** Returns the number of points held in all polylines so far. */
    size_t pointCount() const { return pointCount_; }

private:
    void dropLastIfSinglePoint();

    RPoint origin_;
    const SectionBarMaterial* current_ = nullptr;
    std::vector<ProfilePolyline> polylines_;
    size_t pointCount_ = 0;
};
