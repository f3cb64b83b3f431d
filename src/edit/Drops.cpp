#include "edit/Drops.h"

namespace vs {

void dropFacilityModel(DesignView&, const QPoint&, CFacilityModel&, bool)
{
}

void dropCatalogueItem(DesignView&, const QPoint&, CCandyType&, const QSize&)
{
}

} // namespace vs
