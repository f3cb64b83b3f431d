// The profile of a section-bar type: closed contours in the profile plane (x across the bar,
// y up, decimillimetres), crease patterns, and the pivot the profile is placed by.
#pragma once

#include "catalogue/CContour.h"
#include "catalogue/ProfilePolyline.h"

#include <cstdint>
#include <memory>
#include <vector>

class CSectionBarProfile
{
public:
    /** Most points a profile may evaluate to; reading rejects larger profiles. */
    static constexpr size_t kMaxPoints = 200000;

    CSectionBarProfile() = default;
    CSectionBarProfile(const CSectionBarProfile&) = delete;
    CSectionBarProfile& operator=(const CSectionBarProfile&) = delete;

    /** Returns the first crease contour with the id, or null. */
    const CContour* findCreaseContour(int32_t id) const;

    /**
     * Prepares the profile after reading: resolves every crease's pattern, then finishes the
     * contours (orientation, links, segments). Throws std::invalid_argument when a crease
     * would draw too many copies or the profile would evaluate to more than kMaxPoints points.
     */
    void finish();

    /** Returns the number of points evaluate produces at most (saturating, never wraps). */
    size_t pointCount() const;

    /**
     * Evaluates the drawn contours into polylines, with points relative to the pivot (the
     * profile's own coordinates when there is no pivot).
     */
    std::vector<ProfilePolyline> evaluate() const;

    /** The profile's contours in document order, crease patterns included. */
    std::vector<std::unique_ptr<CContour>> contours;
    /** The vertex marked as pivot point in a drawn contour; null when there is none. */
    CSectionBarVertex* pivot = nullptr;
    /** Height of the face-up side used for the left mitre's texture shift (acute angles). */
    double faceupHeightPart1 = 0;
    /** The same for obtuse left angles. */
    double faceupHeightPart2 = 0;
};
