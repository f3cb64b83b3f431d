// A line dividing a split plane into its children, with the vertical step between the two
// neighbours, an optional section bar and the bend strip along it.
#pragma once

#include "CSectionLine.h"
#include "RPoint.h"

#include <cstdint>
#include <memory>

class CCandyType;
class CGridMapping;

class CSplitLine
{
public:
    /** hoistSide values. */
    enum HoistSide { NoStep = 0, NextLower = 1, NextHigher = 2 };

    CSplitLine();
    /** Deletes the bend and the section line. */
    ~CSplitLine();
    CSplitLine(const CSplitLine&) = delete;
    CSplitLine& operator=(const CSplitLine&) = delete;

    /** Coordinate of the split along the split axis (x when the owner's horizontalSplit, else y).
     */
    double pos = 0;
    /** 0: no step; 1: the next child is lower by hoist; 2: the next child is higher by hoist. */
    int32_t hoistSide = NoStep;
    /** Height of the step, decimillimetres. */
    int32_t hoist = 0;
    /** 2: a bend strip is built along the line. */
    int32_t installType = 0;
    int32_t sectionBarTypeId = 0;
    /** The resolved section bar type; not owned, may be null. */
    CCandyType* candyType = nullptr;
    /** End points of the line, plan coordinates. */
    RPoint pt1;
    RPoint pt2;
    /** Optional section bar along the line. */
    std::unique_ptr<CSectionLine> sectionLine;
    /** The split plane; not owned. */
    CGridMapping* owner = nullptr;
    /** hoistSide 1: the child after the line; 2: the child before it; null for 0. Not owned. */
    CGridMapping* child = nullptr;
    /** The vertical strip along the line, or null. */
    std::unique_ptr<CGridMapping> bend;
    /** Distance from the strip's first grid line to the line's start. */
    double bendOffset = 0;
    /** The strip's base line in the plan (from bendStart to bendEnd), set with the bend. */
    RPoint bendStart;
    RPoint bendEnd;
};
