#include "scene/CeramicTileSize.h"

#include "catalogue/CFacilityModel.h"

#include <cmath>

namespace vs {
namespace {

constexpr double kFallbackSize = 6000;

double positiveOr(double v, double fallback)
{
    return std::isfinite(v) && v >= 1 ? v : fallback;
}

} // namespace

irr::core::dimension2d<double> ceramicTileSize(IntSize explicitSize, CFacilityModel* model)
{
    if (explicitSize.width != 0 && explicitSize.height != 0) {
        const double sx = model ? model->scaleX : 1;
        const double sy = model ? model->scaleY : 1;
        return {positiveOr(explicitSize.width * sx, kFallbackSize),
                positiveOr(explicitSize.height * sy, kFallbackSize)};
    }
    if (!model)
        return {kFallbackSize, kFallbackSize};
    const IntSize natural = model->defaultTileSize();
    return {positiveOr(natural.width, kFallbackSize), positiveOr(natural.height, kFallbackSize)};
}

} // namespace vs
