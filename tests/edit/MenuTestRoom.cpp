#include "MenuTestRoom.h"

#include "ceiling/SolidWriter.h"
#include "document/CurrentDocument.h"
#include "document/SolidCeiling.h"
#include "edit/FacilityPlacement.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "scene/CCustomSceneNode.h"
#include "scene/CRoomSceneNode.h"
#include "scene/FacilityScene.h"
#include "scene/LightScene.h"
#include "scene/WallScene.h"

#include <cmath>

using namespace irr;

namespace menutest {
namespace {

scene::SMesh* boxMesh(const core::vector3df& min, const core::vector3df& max)
{
    auto* buffer = new scene::SMeshBuffer();
    const video::SColor white(255, 255, 255, 255);
    for (int i = 0; i < 8; ++i) {
        const core::vector3df p(i & 1 ? max.X : min.X, i & 2 ? max.Y : min.Y,
                                i & 4 ? max.Z : min.Z);
        buffer->Vertices.push_back(video::S3DVertex(p, core::vector3df(0, 1, 0), white, {0, 0}));
    }
    const u16 faces[] = {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4,
                         2, 6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5};
    for (u16 index : faces)
        buffer->Indices.push_back(index);
    buffer->recalculateBoundingBox();
    auto* mesh = new scene::SMesh();
    mesh->addMeshBuffer(buffer);
    buffer->drop();
    mesh->recalculateBoundingBox();
    return mesh;
}

} // namespace

void MenuTestRoom::SetUp()
{
    CVantrelSolidApp& app = CVantrelSolidApp::instance();
    app.clearMasterData();
    app.addBuiltIns();
    app.candies.link();
    app.facilities.link();
    // A 4 m x 3 m room without a 3D part: default walls, floor and lights.
    doc_ = &vs::openCurrentDocument(
        "<design name=\"room\" squareRoom=\"true\" gridWidth=\"3000\" gridHeight=\"3000\" "
        "outlinePoints=\"0,0 40000,0 40000,30000 0,30000\" realGridOffset=\"0,0\"/>");
    stack_ = std::make_unique<QUndoStack>();
    wnd_ = std::make_unique<CSolidWnd>(*doc_);
    wnd_->setUndoStack(stack_.get());
    wnd_->setInformationSink([this](const QString& text) { messages_ << text; });
    wnd_->resize(400, 300);
    wnd_->CreateEngine();
    wnd_->SetModes(CSolidWnd::Designing, CSolidWnd::Globe, true);
    ASSERT_NE(doc_->roomNode, nullptr);
    ASSERT_GE(doc_->walls.size(), 4u);
}

void MenuTestRoom::TearDown()
{
    stack_.reset();
    wnd_.reset();
    vs::closeCurrentDocument();
    models_.clear();
    CVantrelSolidApp::instance().clearMasterData();
}

CFacilityModel& MenuTestRoom::boxModel(int id, int kindAndFlags, const core::vector3df& min,
                                       const core::vector3df& max)
{
    FacilityModelInfo info;
    info.id = id;
    info.name = "box" + std::to_string(id);
    info.kindAndFlags = kindAndFlags;
    info.scaleX = info.scaleY = 1;
    auto model = std::make_unique<CFacilityModel>(info, nullptr);
    scene::SMesh* mesh = boxMesh(min, max);
    model->setMesh(mesh);
    mesh->drop();
    models_.push_back(std::move(model));
    return *models_.back();
}

CFacilityModel& MenuTestRoom::pictureModel(int id, int kind, int width, int height, int flags)
{
    FacilityModelInfo info;
    info.id = id;
    info.name = "picture" + std::to_string(id);
    info.kindAndFlags = kind | (flags << 16);
    info.width = width;
    info.height = height;
    info.scaleX = info.scaleY = 1;
    models_.push_back(std::make_unique<CFacilityModel>(info, nullptr));
    return *models_.back();
}

CSolidFacility& MenuTestRoom::addFacility(CFacilityModel& model, const Vec3f& position,
                                          float degrees)
{
    auto facility = std::make_unique<CSolidFacility>();
    facility->facilityModel = &model;
    const core::vector3df e = model.mesh(nullptr)->getBoundingBox().getExtent();
    facility->size = Vec3f{e.X, e.Y, e.Z};
    facility->position = position;
    facility->rotateDegree = degrees;
    CSolidFacility& f = *facility;
    doc_->solidFacilities.push_back(std::move(facility));
    vs::buildFacilityNode(f, doc_->roomNode, *doc_);
    return f;
}

std::string MenuTestRoom::written() const
{
    return vs::writeSolid(*doc_);
}

core::vector3df MenuTestRoom::world(const core::vector3df& roomPoint) const
{
    core::vector3df p = roomPoint;
    vs::roomToWorld(*doc_).transformVect(p);
    return p;
}

PickResult MenuTestRoom::floorHit(const core::vector3df& p) const
{
    PickResult hit;
    hit.kind = PickResult::Kind::Floor;
    hit.point = world(p);
    return hit;
}

PickResult MenuTestRoom::ceilingHit(const core::vector3df& p) const
{
    PickResult hit;
    hit.kind = PickResult::Kind::Ceiling;
    hit.point = world(p);
    hit.plane = doc_->ceiling ? doc_->ceiling->root.get() : nullptr;
    return hit;
}

PickResult MenuTestRoom::wallHit(CWall& wall, float along, float height) const
{
    PickResult hit;
    hit.kind = PickResult::Kind::Wall;
    hit.wall = &wall;
    hit.wallPoint = core::vector2df(along, height);
    hit.wallPart = wall.wallParts.empty() ? nullptr : wall.wallParts.front().get();
    const vs::WallFrame frame = vs::wallFrame(*doc_, wall);
    const double a = frame.angle * M_PI / 180;
    hit.point =
        world(core::vector3df(static_cast<float>(frame.start.x + along * std::cos(a)), height,
                              static_cast<float>(frame.start.y + along * std::sin(a))));
    return hit;
}

PickResult MenuTestRoom::facilityHit(CSolidFacility& facility) const
{
    PickResult hit;
    hit.kind = PickResult::Kind::Facility;
    hit.facility = &facility;
    const core::matrix4 m = vs::facilityMatrix(facility, *doc_);
    hit.point = world(m.getTranslation() + core::vector3df(0, facility.size.y, 0));
    return hit;
}

PickResult MenuTestRoom::markerHit(CSolidLight& light) const
{
    PickResult hit;
    hit.kind = PickResult::Kind::LightMarker;
    hit.light = &light;
    hit.point = world(core::vector3df(light.position.x, light.position.y, light.position.z));
    return hit;
}

void MenuTestRoom::setSimpleLighting(bool simple)
{
    if (!doc_->viewState)
        doc_->viewState = std::make_unique<SolidViewState>();
    doc_->viewState->simpleLighting = simple;
    vs::applyLightingModelToLights(simple, *doc_);
}

core::matrix4 absolute(scene::ISceneNode* node)
{
    std::vector<scene::ISceneNode*> chain;
    for (scene::ISceneNode* n = node; n; n = n->getParent())
        chain.push_back(n);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->updateAbsolutePosition();
    return node->getAbsoluteTransformation();
}

bool near(const core::matrix4& a, const core::matrix4& b, float tolerance)
{
    for (int i = 0; i < 16; ++i)
        if (std::fabs(a[i] - b[i]) > tolerance)
            return false;
    return true;
}

} // namespace menutest
