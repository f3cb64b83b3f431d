// A crease pattern placed on a profile edge: copies of a pattern contour (a CContour marked as
// crease) laid one after another along the edge, scaled along and across it.
#pragma once

#include "catalogue/SectionBarMaterial.h"
#include "document/RPoint.h"

#include <cfloat>
#include <cstdint>
#include <optional>

class CContour;
class CSectionBarVertex;
class ProfilePolylineBuilder;

class CCreases
{
public:
    /** Most copies one crease may draw, whether counted or fitted into len. */
    static constexpr int32_t kMaxRepeats = 10000;
    /** The value of pos1 and pos2 when they are not given. */
    static constexpr double kNotGiven = DBL_MAX;

    /**
     * Links the pattern contour (null when the id names none) and works out the copies and
     * the period length. Throws std::invalid_argument when more than kMaxRepeats copies result.
     */
    void resolve(const CContour* patternContour);

    /** Returns the pattern's x extent: x of its last vertex minus x of its first (0 without). */
    double patternWidth() const;

    /** Returns the length the copies cover along the edge: copies x (width x scale.x). */
    double coveredLength() const;

    /**
     * Returns where the creased stretch starts on an edge of the given length, measured from
     * the edge's start as the contour is walked (see mirrored).
     */
    double startOn(double edgeLength) const;

    /**
     * Returns where the first copy starts, measured along the edge as the crease was given:
     * pos1 when given; else pos2 minus the covered length when pos2 is given; else the copies
     * are centred on the edge.
     */
    double givenStart(double edgeLength) const;

    /**
     * Turns the crease round for an edge that is now walked the other way; the crease keeps
     * the place, side and shape it was given with.
     */
    void mirror() { mirrored = !mirrored; }

    /** Returns the number of points evaluate appends at most. */
    size_t pointCount() const;

    /**
     * Appends the copies for the straight edge leaving vertex, the first starting at distance
     * start along it (startOn). The pattern's y runs to the left of the edge's direction as
     * given (mirrored: as the edge ran before its contour was turned round). With
     * useOwnMaterial, the copies start with the first material and pattern vertices that carry
     * a material start new polylines with it.
     */
    void evaluate(ProfilePolylineBuilder& builder, const CSectionBarVertex& vertex, double start,
                  const SectionBarMaterial* edgeMaterial) const;

    int32_t creaseTypeContourId = 0;
    /** Number of copies; 0 or less: as many as fit in len. */
    int32_t repeatCount = 0;
    double len = 0;
    /** Scale of the pattern: x along the edge, y across it. */
    RPoint scale{1, 1};
    bool useOwnMaterial = false;
    double pos1 = kNotGiven;
    double pos2 = kNotGiven;
    std::optional<SectionBarMaterial> firstMaterial;
    std::optional<SectionBarMaterial> secondMaterial;

    /** The edge now runs the other way than the crease was given for. */
    bool mirrored = false;

    /** The resolved pattern; null when creaseTypeContourId names no crease contour. */
    const CContour* pattern = nullptr;
    /** Number of copies drawn (0 without a pattern). */
    int32_t copies = 0;
    /** Length of the pattern repeated, in pattern units: width x copies. */
    double periodLength = 0;
};
