#include "ceiling/HostMoves.h"

#include "ceiling/GridLayout.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CSolidLight.h"
#include "document/HostLightPlace.h"
#include "document/SolidCeiling.h"

#include <algorithm>
#include <cmath>

namespace vs {

namespace {

CSolidDocument* roomOf(const CHost& host)
{
    if (host.plane == nullptr || host.plane->ceiling == nullptr)
        return nullptr;
    return host.plane->ceiling->room;
}

/** Where the host's light stands: over the lamp as drawn, mirrored while the room's view
 *  state has invertTop set. */
RPoint lightPlace(const CHost& host)
{
    const CSolidDocument* room = roomOf(host);
    return hostLightPlace(host, room != nullptr && room->viewState != nullptr &&
                                    room->viewState->invertTop);
}

void moveLight(CHost& host)
{
    if (host.light == nullptr)
        return;
    const RPoint p = lightPlace(host);
    host.light->position.x = static_cast<float>(p.x);
    host.light->position.z = static_cast<float>(p.y);
}

template <typename Change> IRect changeHost(CHost& host, Change change)
{
    const IRect before = host.pixelRect;
    change();
    placeHost(host);
    moveLight(host);
    return uniteRects(before, host.pixelRect);
}

} // namespace

IRect moveHostByCells(CHost& host, int32_t dCols, int32_t dRows)
{
    if (host.freePosition)
        return host.pixelRect;
    auto shift = [](int32_t& v, int32_t d) {
        v = static_cast<int32_t>(std::clamp<int64_t>(int64_t(v) + d, INT32_MIN, INT32_MAX));
    };
    return changeHost(host, [&] {
        shift(host.gx, dCols);
        shift(host.lastCol, dCols);
        shift(host.gy, dRows);
        shift(host.lastRow, dRows);
    });
}

IRect moveHostBy(CHost& host, double dx, double dy)
{
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return host.pixelRect;
    return changeHost(host, [&] {
        host.freePosition = true;
        host.rect.left += dx;
        host.rect.top += dy;
        host.rect.right += dx;
        host.rect.bottom += dy;
    });
}

IRect rotateHost(CHost& host, int32_t degrees)
{
    return changeHost(host, [&] {
        host.rotateDegree =
            static_cast<int32_t>(((int64_t(host.rotateDegree) + degrees) % 360 + 360) % 360);
    });
}

bool switchHostLight(CHost& host, bool on)
{
    if (host.light != nullptr) {
        host.light->isVisible = on;
        return true;
    }
    if (!on)
        return true;
    CSolidDocument* room = roomOf(host);
    if (room == nullptr)
        return false;
    auto light = std::make_unique<CSolidLight>(room);
    const RPoint p = lightPlace(host);
    light->position = {static_cast<float>(p.x), kHostLightHeight, static_cast<float>(p.y)};
    light->attenuation = {0, 0.002f, 0};
    light->radius = 100000;
    light->isVisible = true;
    light->host = &host;
    host.light = light.get();
    room->solidLights.push_back(std::move(light));
    return true;
}

} // namespace vs
