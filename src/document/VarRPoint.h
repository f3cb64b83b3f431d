// The points of a section-bar profile. A profile vertex owns its point; the point is a plain
// corner (VarRPoint), an arc along the wall (RPointWallArc) or an arc of its own
// (RPointSelfArc). Consumers tell them apart by kind().
#pragma once

#include "RPoint.h"

#include <memory>
#include <vector>

class VarRPoint
{
public:
    VarRPoint() = default;
    /** A plain profile point at (x, y). */
    VarRPoint(double x, double y) : x(x), y(y) {}
    virtual ~VarRPoint() = default;

    /** Returns the kind code: 0 plain point, 1 wall arc, 2 self arc. */
    virtual int kind() const { return 0; }

    /**
     * Builds a profile point from its number list: up to 3 numbers give a plain point of the
     * first two, 13 a wall arc, 18 a self arc; any other count gives null. Throws
     * std::invalid_argument for fewer than 2 numbers.
     */
    static std::unique_ptr<VarRPoint> fromNumbers(const std::vector<double>& v);

    double x = 0;
    double y = 0;
};

class RPointWallArc : public VarRPoint
{
public:
    /** Returns 1. */
    int kind() const override { return 1; }
    /** Swaps startValue and endValue. */
    virtual void reverse();

    // Named after the position of their value in the profile's number list.
    double p3 = 0;
    double p4 = 0;
    double p5 = 0;
    double startValue = 0;
    double endValue = 0;
    bool reversed = false;
};

class RPointSelfArc : public RPointWallArc
{
public:
    /** Returns 2. */
    int kind() const override { return 2; }
    /** Swaps startValue with endValue and firstPoint with secondPoint. */
    void reverse() override;

    /** Shortens the distance to the previous profile point. */
    double p13 = 0;
    RPoint firstPoint;
    RPoint secondPoint;
};
