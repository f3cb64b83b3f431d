#include "edit/Drops.h"

#include "catalogue/CCandyType.h"
#include "catalogue/CFacilityModel.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "edit/CeilingEdits.h"
#include "edit/DesignView.h"
#include "edit/FacilityLayoutCommand.h"
#include "edit/FacilityPlacement.h"
#include "edit/LightListCommand.h"
#include "edit/Picker.h"
#include "edit/Selection.h"
#include "edit/SurfaceCommand.h"
#include "scene/FacilityScene.h"
#include "scene/LightScene.h"

#include <QRect>

#include <cmath>

using namespace irr;

namespace {

/** Model kinds (the low 16 bits of a model's kind). */
enum ModelKind { Light = 0, Solid = 1, DoorOrWindow = 2, FloorPicture = 3, WallTile = 4, Band = 5 };

/** Model flag bits. */
constexpr int kFlagOnWallFloor = 1 << 0; ///< dropped on a wall: stands at height 0
constexpr int kFlagOnFloor = 1 << 2;     ///< stands on the floor whatever was hit

/** A light's size when dropped, decimillimetres. */
constexpr float kLightSide = 200;
/** A dropped light is raised this far above its drop point. */
constexpr float kLightRaise = 100;
/** Side given to a dropped model that has neither a natural size nor a mesh. */
constexpr float kFallbackSide = 6000;

bool inClient(const DesignView& view, const QPoint& client)
{
    return QRect(QPoint(0, 0), view.clientSize()).contains(client);
}

/** The extent of the model's mesh turned as the scene turns it. */
core::vector3df turnedMeshExtent(const CFacilityModel& model, scene::IMesh& mesh)
{
    core::aabbox3df box = mesh.getBoundingBox();
    vs::modelTurn(model).transformBoxEx(box);
    return box.getExtent();
}

/** A dropped 3D model's size: its natural size, else its mesh's extent times its scale. */
Vec3f modelSize(DesignView& view, CFacilityModel& model)
{
    const auto& n = model.naturalSize;
    if (n[0] > 0 && n[1] > 0 && n[2] > 0)
        return Vec3f{n[0], n[1], n[2]};
    if (scene::IMesh* mesh = model.mesh(view.sceneManager())) {
        const core::vector3df e = turnedMeshExtent(model, *mesh);
        const auto sx = static_cast<float>(model.scaleX);
        const auto sy = static_cast<float>(model.scaleY);
        if (e.X > 0 && e.Y > 0 && e.Z > 0)
            return Vec3f{e.X * sx, e.Y * sy, e.Z * sx};
    }
    const float w = model.width > 0 ? static_cast<float>(model.width) : kFallbackSide;
    const float h = model.height > 0 ? static_cast<float>(model.height) : kFallbackSide;
    return Vec3f{w, h, w};
}

/**
 * Where an object of `size` goes for `hit`, in room coordinates (on a wall: x along the wall, y
 * the height, z 0). On a facility or a light marker it moves horizontally towards the globe
 * camera by half its width and stands at the height of the facility or the light hit.
 */
Vec3f dropPoint(DesignView& view, const PickResult& hit, const Vec3f& size, bool atFloorOnWall)
{
    CSolidDocument& document = view.document();
    const core::vector3df p = vs::worldToRoom(document, hit.point);
    switch (hit.kind) {
    case PickResult::Kind::Ceiling:
        return Vec3f{p.X, static_cast<float>(vs::lowestLayerHeight(document) - size.y), p.Z};
    case PickResult::Kind::Floor:
        return Vec3f{p.X, 0, p.Z};
    case PickResult::Kind::Wall:
        return Vec3f{hit.wallPoint.X, atFloorOnWall ? 0 : hit.wallPoint.Y - size.y / 2, 0};
    case PickResult::Kind::Facility:
    case PickResult::Kind::LightMarker: {
        core::vector3df towards;
        if (scene::ICameraSceneNode* camera = view.globeCamera()) {
            camera->updateAbsolutePosition();
            const core::vector3df eye = vs::worldToRoom(document, camera->getAbsolutePosition());
            towards = core::vector3df(eye.X - p.X, 0, eye.Z - p.Z);
            if (towards.getLengthSQ() > 0)
                towards.normalize();
        }
        const core::vector3df moved = p + towards * (size.x / 2);
        float y = 0;
        if (hit.facility)
            y = hit.facility->position.y;
        else if (hit.light)
            y = hit.light->position.y;
        return Vec3f{moved.X, y, moved.Z};
    }
    case PickResult::Kind::None:
        break;
    }
    return Vec3f{p.X, p.Y, p.Z};
}

void dropLight(DesignView& view, const PickResult& hit)
{
    CSolidDocument& document = view.document();
    if (vs::usesSimpleLighting(document)) {
        view.showInformation(QStringLiteral("只有在专业光照模型下才能放置光源！"));
        return;
    }
    const Vec3f size{kLightSide, kLightSide, kLightSide};
    Vec3f point = dropPoint(view, hit, size, false);
    if (hit.kind == PickResult::Kind::Wall) {
        // A light has no wall of its own: it goes where the wall point lies in the room.
        const core::vector3df p = vs::worldToRoom(document, hit.point);
        point = Vec3f{p.X, point.y, p.Z};
    }
    auto light = std::make_unique<CSolidLight>(&document);
    light->attenuation = Vec3f{0, 0.002f, 0};
    light->radius = 100000;
    light->diffuseColor = Colorf{192 / 255.0f, 192 / 255.0f, 192 / 255.0f, 1};
    light->specularColor = Colorf{0, 0, 0, 1};
    light->castShadows = false;
    light->isMain = false;
    light->isVisible = true;
    light->markerShown = false;
    light->position = Vec3f{point.x, point.y + kLightRaise, point.z};
    vs::addLight(view, std::move(light));
}

void dropSolid(DesignView& view, const PickResult& hit, CFacilityModel& model)
{
    CSolidDocument& document = view.document();
    const int flags = model.kindFlags();
    auto facility = std::make_unique<CSolidFacility>();
    CSolidFacility* f = facility.get();
    f->facilityModel = &model;
    f->size = modelSize(view, model);
    f->position = dropPoint(view, hit, f->size, (flags & kFlagOnWallFloor) != 0);
    if (flags & kFlagOnFloor)
        f->position.y = 0;
    f->rotateDegree = 0;
    f->emissive = 0;
    FacilityState placed = FacilityState::of(*f);
    if (hit.kind == PickResult::Kind::Wall && hit.wall) {
        f->stickWall = hit.wall;
        placed.stickWall = hit.wall;
        if (!model.cutsWall()) {
            // Only models that open the wall stay stuck; any other stands free where it was
            // put against the wall. Its place is worked out while it is briefly in the list.
            document.solidFacilities.push_back(std::move(facility));
            placed = vs::freeStandingInPlace(*f, document);
            facility = std::move(document.solidFacilities.back());
            document.solidFacilities.pop_back();
        }
    }
    FacilityLayout before = FacilityLayout::capture(document, view.selection(), {});
    FacilityLayout after = before;
    after.topLevel.push_back(f);
    after.states.emplace_back(f, placed);
    before.states.emplace_back(f, placed);
    std::vector<std::unique_ptr<CSolidFacility>> created;
    created.push_back(std::move(facility));
    vs::runFacilityEdit(view, QStringLiteral("放置物体"), std::move(before), std::move(after),
                        std::move(created));
}

void dropDoorOrWindow(DesignView& view, const PickResult& hit, CFacilityModel& model)
{
    if (hit.kind != PickResult::Kind::Wall || !hit.wall)
        return;
    auto flat = std::make_unique<CFlatFacility>();
    flat->facilityModel = &model;
    flat->flatSize = model.defaultFlatSize();
    // The wall's local plane has y = -height: the item's rectangle is centred on the hit.
    flat->position = RPoint{hit.wallPoint.X - flat->flatSize.width / 2.0,
                            -hit.wallPoint.Y - flat->flatSize.height / 2.0};
    SurfaceLook before;
    before.addFlatList(*hit.wall);
    SurfaceLook after = before;
    after.flatLists.front().second.push_back(flat.get());
    std::vector<std::unique_ptr<CFlatFacility>> created;
    created.push_back(std::move(flat));
    vs::runSurfaceEdit(view, QStringLiteral("放置门窗"), std::move(before), std::move(after),
                       std::move(created));
}

void dropFloorPicture(DesignView& view, CFacilityModel& model)
{
    SurfaceLook before;
    before.addFloor(view.document());
    if (!before.floor)
        return;
    SurfaceLook after = before;
    after.floor->model = &model;
    after.floor->tileSize = IntSize{};
    vs::runSurfaceEdit(view, QStringLiteral("地面图片"), std::move(before), std::move(after));
}

/** The wall picture on the bands at `partIndex` of `walls` (the picture's own tile size). */
void dropWallPicture(DesignView& view, CFacilityModel& model, const std::vector<CWall*>& walls,
                     std::size_t partIndex, const QString& text)
{
    SurfaceLook before;
    for (CWall* wall : walls)
        if (partIndex < wall->wallParts.size() && wall->wallParts[partIndex])
            before.addPart(*wall, *wall->wallParts[partIndex]);
    if (before.parts.empty())
        return;
    SurfaceLook after = before;
    for (SurfaceLook::Part& p : after.parts) {
        p.model = &model;
        p.tileSize = IntSize{};
    }
    vs::runSurfaceEdit(view, text, std::move(before), std::move(after));
}

std::vector<CWall*> allWalls(CSolidDocument& document)
{
    std::vector<CWall*> walls;
    for (std::unique_ptr<CWall>& wall : document.walls)
        if (wall)
            walls.push_back(wall.get());
    return walls;
}

void dropWallTile(DesignView& view, const PickResult& hit, CFacilityModel& model, bool shiftHeld)
{
    if (hit.kind != PickResult::Kind::Wall || !hit.wall || !hit.wallPart)
        return;
    const auto& parts = hit.wall->wallParts;
    std::size_t index = 0;
    while (index < parts.size() && parts[index].get() != hit.wallPart)
        ++index;
    if (index == parts.size())
        return;
    const std::vector<CWall*> walls =
        shiftHeld ? allWalls(view.document()) : std::vector<CWall*>{hit.wall};
    dropWallPicture(view, model, walls, index, QStringLiteral("墙面瓷砖"));
}

} // namespace

namespace vs {

void placeFacilityModel(DesignView& view, const PickResult& hit, CFacilityModel& model,
                        bool shiftHeld)
{
    if (!hit)
        return;
    switch (model.facilityKind()) {
    case Light:
        dropLight(view, hit);
        break;
    case Solid:
        dropSolid(view, hit, model);
        break;
    case DoorOrWindow:
        dropDoorOrWindow(view, hit, model);
        break;
    case FloorPicture:
        dropFloorPicture(view, model);
        break;
    case WallTile:
        dropWallTile(view, hit, model, shiftHeld);
        break;
    case Band:
        dropWallPicture(view, model, allWalls(view.document()), CWall::kBandPart,
                        QStringLiteral("腰线"));
        break;
    default:
        break;
    }
}

void dropFacilityModel(DesignView& view, const QPoint& screenPoint, CFacilityModel& model,
                       bool shiftHeld)
{
    if (view.ceilingOnly())
        return;
    const QPoint client = view.toClient(screenPoint);
    if (!inClient(view, client))
        return;
    placeFacilityModel(view, pick(view, client.x(), client.y()), model, shiftHeld);
}

void dropCatalogueItem(DesignView& view, const QPoint& screenPoint, CCandyType& type,
                       const QSize& imageSize)
{
    if (view.ceilingOnly())
        return;
    const QPoint client =
        view.toClient(screenPoint - QPoint(imageSize.width() / 2, imageSize.height() / 2));
    if (!inClient(view, client))
        return;
    const PickResult hit = pick(view, client.x(), client.y());
    if (hit.kind != PickResult::Kind::Ceiling || !hit.plane)
        return;
    const SolidCeiling* ceiling = view.document().ceiling.get();
    const bool isFree = type.placedFreely() || (ceiling && ceiling->isBand);
    if (isFree) {
        const RPoint g = gridRelativePoint(*hit.plane, RPoint{hit.ceilingX, hit.ceilingY});
        addCeilingHost(view, *hit.plane, type, true, g.x, g.y);
    } else {
        addCeilingHost(view, *hit.plane, type, false, hit.col, hit.row);
    }
}

} // namespace vs
