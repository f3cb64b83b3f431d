#include "ceiling/PolygonClipper.h"

#include <cmath>
#include <stdexcept>

using namespace ClipperLib;

PlanPolygon PolygonClipper::execute(const PlanPolygon& subject, const PlanPolygon& clip,
                                    ClipOperation op)
{
    subject_.clear();
    clip_.clear();
    appendPaths(subject, subject_);
    appendPaths(clip, clip_);
    if (subject_.empty() || (op == ClipOperation::Intersection && clip_.empty()))
        return {};

    // AddPaths refuses paths without area; Clipper then has nothing to sweep.
    clipper_.Clear();
    const bool haveSubject = clipper_.AddPaths(subject_, ptSubject, true);
    const bool haveClip = clipper_.AddPaths(clip_, ptClip, true);
    if (!haveSubject || (op == ClipOperation::Intersection && !haveClip))
        return {};
    const ClipType type = op == ClipOperation::Difference ? ctDifference : ctIntersection;
    if (!clipper_.Execute(type, tree_, pftEvenOdd, pftEvenOdd))
        throw std::invalid_argument("polygon cannot be clipped");
    return fromTree(tree_);
}

double PolygonClipper::snap(double v)
{
    return static_cast<double>(toInt(v)) / kScale;
}

cInt PolygonClipper::toInt(double v)
{
    return static_cast<cInt>(std::llround(vs::clampPlanCoordinate(v) * kScale));
}

void PolygonClipper::appendPaths(const PlanPolygon& polygon, Paths& paths)
{
    for (const PlanContour& contour : polygon.contours) {
        if (!vs::usableContour(contour))
            continue;
        Path path;
        path.reserve(contour.points.size());
        for (const RPoint& p : contour.points)
            path.emplace_back(toInt(p.x), toInt(p.y));
        paths.push_back(std::move(path));
    }
}

PlanPolygon PolygonClipper::fromTree(const PolyTree& tree)
{
    PlanPolygon polygon;
    for (const PolyNode* node = tree.GetFirst(); node; node = node->GetNext()) {
        if (node->IsOpen() || node->Contour.size() < 3)
            continue;
        PlanContour contour;
        contour.hole = node->IsHole();
        contour.points.reserve(node->Contour.size());
        for (const IntPoint& p : node->Contour)
            contour.points.push_back({p.X / kScale, p.Y / kScale});
        polygon.contours.push_back(std::move(contour));
    }
    return polygon;
}
