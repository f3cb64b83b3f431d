#include "scene/FacilityScene.h"

#include "catalogue/CFacilityModel.h"
#include "catalogue/ModuleDesignCatalogue.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CSolidFacility.h"
#include "document/CWall.h"
#include "document/CustomMaterial.h"
#include "document/SolidCeiling.h"
#include "scene/CCubicCloakSceneNode.h"
#include "scene/CCustomSceneNode.h"
#include "scene/SceneBudget.h"
#include "scene/SceneEngine.h"
#include "scene/StandInBox.h"
#include "scene/WallScene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

using namespace irr;

namespace vs {
namespace {

constexpr float kZeroExtent = 0.000001f;
/** Gap between a stuck facility's back and its wall's face, decimillimetres. */
constexpr float kWallGap = 2;

bool isZero(const Vec3f& v)
{
    return std::fabs(v.x) <= kZeroExtent && std::fabs(v.y) <= kZeroExtent &&
           std::fabs(v.z) <= kZeroExtent;
}

bool isFinite(const Vec3f& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

core::aabbox3df turnedBox(const core::matrix4& turn, const core::aabbox3df& box)
{
    core::aabbox3df turned = box;
    turn.transformBoxEx(turned);
    return turned;
}

/** size / extent per axis; an axis without extent keeps its scale 1. */
core::vector3df extentScale(const Vec3f& size, const Vec3f& extent)
{
    auto ratio = [](float s, float e) {
        const float r = std::fabs(e) > kZeroExtent ? s / e : 1.0f;
        return std::isfinite(r) ? r : 1.0f;
    };
    return {ratio(size.x, extent.x), ratio(size.y, extent.y), ratio(size.z, extent.z)};
}

core::matrix4 rotationY(float degrees)
{
    core::matrix4 m;
    m.setRotationDegrees(core::vector3df(0, degrees, 0));
    return m;
}

core::matrix4 translation(float x, float y, float z)
{
    core::matrix4 m;
    m.setTranslation(core::vector3df(x, y, z));
    return m;
}

core::matrix4 objectMatrix(const CSolidFacility& facility, scene::IMesh* mesh)
{
    core::matrix4 scale;
    scale.setScale(extentScale(facility.size, facility.correctExtent));
    if (mesh == nullptr || facility.facilityModel == nullptr)
        return scale;
    const core::matrix4 turn = modelTurn(*facility.facilityModel);
    const core::aabbox3df box = turnedBox(turn, mesh->getBoundingBox());
    const core::matrix4 centre = translation(-(box.MinEdge.X + box.MaxEdge.X) / 2, -box.MinEdge.Y,
                                             -(box.MinEdge.Z + box.MaxEdge.Z) / 2);
    return scale * centre * turn;
}

bool isTopLevel(const CSolidFacility& facility, const CSolidDocument& document)
{
    return std::any_of(
        document.solidFacilities.begin(), document.solidFacilities.end(),
        [&](const std::unique_ptr<CSolidFacility>& f) { return f.get() == &facility; });
}

bool isDocumentWall(const CWall* wall, const CSolidDocument& document)
{
    return wall != nullptr &&
           std::any_of(document.walls.begin(), document.walls.end(),
                       [&](const std::unique_ptr<CWall>& w) { return w.get() == wall; });
}

/** Smallest and largest z of the footprint (-x/2, -z/2)..(x/2, z/2) turned by `degrees`. */
void footprintDepth(const Vec3f& size, float degrees, float& minZ, float& maxZ)
{
    const core::matrix4 turn = rotationY(degrees);
    core::aabbox3df box(-size.x / 2, 0, -size.z / 2, size.x / 2, size.y, size.z / 2);
    box.repair();
    turn.transformBoxEx(box);
    minZ = box.MinEdge.Z;
    maxZ = box.MaxEdge.Z;
}

core::matrix4 wallPlacement(const CSolidFacility& facility, const WallFrame& frame, float side)
{
    // The object's back (its largest z) goes against the wall and its front into the room. With
    // the room on the frame's -z side that is the object turned by rotateDegree; with the room
    // on the +z side it is turned half round first, so that rotateDegree means the same
    // whichever way the outline runs (a proper turn of the frame, never a mirror).
    const float turn = facility.rotateDegree + (side > 0 ? 180.0f : 0.0f);
    float minZ = 0;
    float maxZ = 0;
    footprintDepth(facility.size, turn, minZ, maxZ);
    // The footprint's side facing the wall keeps position.z + 2 off the wall's face.
    const float offWall = facility.position.z + kWallGap;
    const float z = side > 0 ? offWall - minZ : -offWall - maxZ;
    const core::matrix4 local =
        translation(facility.position.x, facility.position.y, z) * rotationY(turn);
    const core::matrix4 wall =
        translation(static_cast<f32>(frame.start.x), 0, static_cast<f32>(frame.start.y)) *
        rotationY(static_cast<f32>(360 - frame.angle));
    return wall * local;
}

core::matrix4 placementMatrix(const CSolidFacility& facility, const CSolidDocument& document)
{
    if (facility.stickWall != nullptr && isTopLevel(facility, document) &&
        isDocumentWall(facility.stickWall, document)) {
        const WallFrame frame = wallFrame(document, *facility.stickWall);
        if (frame.valid && std::isfinite(frame.start.x) && std::isfinite(frame.start.y))
            return wallPlacement(facility, frame, wallRoomSide(document));
    }
    return translation(facility.position.x, facility.position.y, facility.position.z) *
           rotationY(facility.rotateDegree);
}

/** Drops a facility's hold on its mesh. */
void dropSceneMesh(SolidFacilityScene& record)
{
    if (record.mesh != nullptr)
        record.mesh->drop();
    record.mesh = nullptr;
    record.ownsMesh = false;
}

void deleteFacilityScene(SolidFacilityScene* record)
{
    if (record == nullptr)
        return;
    if (record->selector != nullptr)
        record->selector->drop();
    dropSceneMesh(*record);
    delete record;
}

scene::IMesh* modelMesh(const CSolidFacility& facility, scene::ISceneManager* smgr,
                        DesignCatalogue* materials)
{
    if (facility.facilityModel == nullptr)
        return nullptr;
    scene::IMesh* mesh = facility.facilityModel->mesh(smgr, materials);
    return mesh != nullptr && mesh->getMeshBufferCount() > 0 ? mesh : nullptr;
}

/** A private copy of `shared` with each buffer's material copied; reference count 1. */
scene::IMesh* copyMesh(scene::IMesh* shared, scene::ISceneManager* smgr)
{
    scene::SMesh* copy = smgr->getMeshManipulator()->createMeshCopy(shared);
    if (copy == nullptr)
        return nullptr;
    const u32 count = std::min(copy->getMeshBufferCount(), shared->getMeshBufferCount());
    for (u32 i = 0; i < count; ++i)
        copy->getMeshBuffer(i)->getMaterial() = shared->getMeshBuffer(i)->getMaterial();
    copy->recalculateBoundingBox();
    copy->setMaterialFlag(video::EMF_NORMALIZE_NORMALS, true);
    return copy;
}

CustomMaterial* customMaterialFor(CSolidFacility& facility, u32 bufferIndex)
{
    for (std::unique_ptr<CustomMaterial>& m : facility.customMaterials)
        if (m && m->index >= 0 && static_cast<u32>(m->index) == bufferIndex)
            return m.get();
    return nullptr;
}

void applyCustomMaterial(CustomMaterial& custom, video::SMaterial& material,
                         video::IVideoDriver* driver)
{
    if (custom.texture == nullptr && custom.facilityModel != nullptr)
        custom.texture = custom.facilityModel->engineTexture(driver);
    if (custom.texture == nullptr)
        return;
    material.setTexture(0, custom.texture);
    core::matrix4 transform;
    transform.buildTextureTransform(custom.rotate * core::DEGTORAD, core::vector2df(0, 0),
                                    core::vector2df(custom.offsetX, custom.offsetY),
                                    core::vector2df(custom.scaleX, custom.scaleY));
    material.setTextureMatrix(0, transform);
}

/** Makes the shown mesh the right kind: a private copy with custom materials, else the shared one.
 *  Returns true when the mesh changed. */
bool chooseSceneMesh(CSolidFacility& facility, scene::IMesh* shared)
{
    SolidFacilityScene& record = *facility.scene;
    const bool wantsCopy = !facility.customMaterials.empty();
    if (shared == nullptr || wantsCopy == record.ownsMesh)
        return false;
    scene::IMesh* next = wantsCopy ? copyMesh(shared, record.sceneManager) : shared;
    if (next == nullptr)
        return false;
    if (!wantsCopy)
        next->grab();
    dropSceneMesh(record);
    record.mesh = next;
    record.ownsMesh = wantsCopy;
    return true;
}

void copyCustomMaterials(CSolidFacility& facility, scene::IMesh* shared)
{
    const SolidFacilityScene& record = *facility.scene;
    if (!record.ownsMesh || record.mesh == nullptr)
        return;
    video::IVideoDriver* driver = record.sceneManager->getVideoDriver();
    const u32 count = record.mesh->getMeshBufferCount();
    for (u32 i = 0; i < count; ++i) {
        video::SMaterial& material = record.mesh->getMeshBuffer(i)->getMaterial();
        if (shared != nullptr && i < shared->getMeshBufferCount())
            material = shared->getMeshBuffer(i)->getMaterial();
        material.NormalizeNormals = true;
        if (CustomMaterial* custom = customMaterialFor(facility, i))
            applyCustomMaterial(*custom, material, driver);
    }
}

core::aabbox3df facilityBox(const CSolidFacility& facility)
{
    if (scene::IMesh* mesh = facilityMesh(facility))
        return mesh->getBoundingBox();
    const Vec3f& e = facility.correctExtent;
    core::aabbox3df box(-e.x / 2, 0, -e.z / 2, e.x / 2, e.y, e.z / 2);
    box.repair();
    return box;
}

/** Takes the model's mesh (or a private copy of it) as the facility's mesh, and the mesh's
 *  turned extent as correctExtent when none is given. */
void takeModelMesh(CSolidFacility& facility, scene::IMesh* shared)
{
    if (isZero(facility.correctExtent) || !isFinite(facility.correctExtent)) {
        const core::aabbox3df box =
            turnedBox(modelTurn(*facility.facilityModel), shared->getBoundingBox());
        const core::vector3df extent = box.getExtent();
        facility.correctExtent = Vec3f{extent.X, extent.Y, extent.Z};
    }
    shared->setMaterialFlag(video::EMF_NORMALIZE_NORMALS, true); // the node is scaled
    shared->grab();
    facility.scene->mesh = shared;
    chooseSceneMesh(facility, shared);
    copyCustomMaterials(facility, shared);
}

uint64_t triangleCount(scene::IMesh& mesh)
{
    uint64_t triangles = 0;
    for (u32 i = 0; i < mesh.getMeshBufferCount(); ++i)
        triangles += mesh.getMeshBuffer(i)->getIndexCount() / 3;
    return triangles;
}

void createNodes(CSolidFacility& facility, scene::ISceneNode* parent, DesignCatalogue* materials)
{
    SolidFacilityScene& record = *facility.scene;
    scene::ISceneManager* smgr = record.sceneManager;
    // Every placed facility draws its model's triangles, shared mesh or not.
    scene::IMesh* shared = modelMesh(facility, smgr, materials);
    if (shared != nullptr && chargeSceneTriangles(triangleCount(*shared)))
        takeModelMesh(facility, shared);

    // A model whose mesh data cannot be read shows a box, so the facility is seen and picked.
    core::aabbox3df box = facilityBox(facility);
    scene::SMesh* standIn = nullptr;
    if (record.mesh == nullptr && facility.facilityModel != nullptr &&
        facility.facilityModel->meshUnreadable()) {
        const Vec3f& e = facility.correctExtent;
        const Vec3f& s = facility.size;
        box = standInBoxBounds({e.x, e.y, e.z}, {s.x, s.y, s.z});
        standIn = makeStandInBox(box);
    }
    scene::IMesh* shown = standIn != nullptr ? standIn : record.mesh;
    CCustomSceneNode* node = new CCustomSceneNode(shown, smgr, parent);
    record.node = node;
    node->drop(); // the parent holds it
    if (shown != nullptr)
        record.selector = smgr->createTriangleSelector(shown, node);
    if (standIn != nullptr)
        standIn->drop(); // the node's mesh node holds it

    CCubicCloakSceneNode* cloak =
        new CCubicCloakSceneNode(box.MinEdge, core::vector3df(0, 0, 0), node, smgr);
    cloak->setScale(box.getExtent());
    cloak->setVisible(false);
    record.cloak = cloak;
    cloak->drop();
}

/** Deepest group nesting given nodes; the design reader allows far less. */
constexpr int kMaxNodeDepth = 256;

void buildNode(CSolidFacility& facility, scene::ISceneNode* parent, CSolidDocument& document,
               DesignCatalogue* materials, int depth)
{
    if (CCustomSceneNode* node = facilityNode(facility)) {
        if (parent != nullptr && node->getParent() != parent)
            node->setParent(parent);
    } else {
        scene::ISceneManager* smgr = sceneManager();
        if (smgr == nullptr)
            return;
        facility.scene = CSolidFacility::ScenePtr(new SolidFacilityScene(), deleteFacilityScene);
        facility.scene->sceneManager = smgr;
        createNodes(facility, parent, materials);
    }
    // Group nesting is bounded by the design reader; the guard keeps an absurdly deep
    // hand-made tree from exhausting the stack.
    if (depth < kMaxNodeDepth)
        for (std::unique_ptr<CSolidFacility>& member : facility.children)
            if (member)
                buildNode(*member, facility.scene->node, document, materials, depth + 1);
    setFacilityBrightness(facility, facility.emissive);
    updateFacilityTransformation(facility, document);
}

void removeNodes(CSolidFacility& facility, int depth)
{
    if (depth < kMaxNodeDepth) // deeper members never got nodes
        for (std::unique_ptr<CSolidFacility>& member : facility.children)
            if (member)
                removeNodes(*member, depth + 1);
    if (facilityNode(facility) == nullptr)
        return;
    if (facility.scene->cloak != nullptr)
        facility.scene->cloak->remove();
    facility.scene->node->remove();
    facility.scene.reset(); // drops the selector and the mesh
    for (std::unique_ptr<CustomMaterial>& m : facility.customMaterials)
        if (m)
            m->texture = nullptr;
}

} // namespace

core::matrix4 modelTurn(const CFacilityModel& model)
{
    core::matrix4 swap;
    if (model.zUp) {
        swap[5] = 0;
        swap[6] = 1;
        swap[9] = 1;
        swap[10] = 0;
    }
    core::matrix4 rotation;
    rotation.setRotationDegrees(
        core::vector3df(model.baseRotation[0], model.baseRotation[1], model.baseRotation[2]));
    return rotation * swap;
}

CCustomSceneNode* facilityNode(const CSolidFacility& facility)
{
    return facility.scene ? facility.scene->node : nullptr;
}

CCubicCloakSceneNode* cloakNode(const CSolidFacility& facility)
{
    return facility.scene ? facility.scene->cloak : nullptr;
}

scene::IMesh* facilityMesh(const CSolidFacility& facility)
{
    return facility.scene ? facility.scene->mesh : nullptr;
}

bool ownsFacilityMesh(const CSolidFacility& facility)
{
    return facility.scene && facility.scene->ownsMesh;
}

scene::ITriangleSelector* facilitySelector(const CSolidFacility& facility)
{
    return facility.scene ? facility.scene->selector : nullptr;
}

scene::ISceneManager* facilitySceneManager(const CSolidFacility& facility)
{
    return facility.scene ? facility.scene->sceneManager : nullptr;
}

void buildFacilityNode(CSolidFacility& facility, scene::ISceneNode* parent,
                       CSolidDocument& document, DesignCatalogue* materials)
{
    ModuleDesignCatalogue moduleCatalogue;
    buildNode(facility, parent, document, materials ? materials : &moduleCatalogue, 0);
}

void releaseFacilityNode(CSolidFacility& facility)
{
    removeNodes(facility, 0);
}

void releaseFacilityNodes(CSolidDocument& document)
{
    for (std::unique_ptr<CSolidFacility>& facility : document.solidFacilities)
        if (facility)
            releaseFacilityNode(*facility);
}

void setFacilityBrightness(CSolidFacility& facility, int emissive)
{
    emissive = std::clamp(emissive, 0, 100);
    facility.emissive = emissive;
    if (facilityNode(facility) == nullptr || facilityMesh(facility) == nullptr)
        return;
    const SolidFacilityScene& record = *facility.scene;
    const u32 grey = static_cast<u32>(emissive * 255 / 100);
    const video::SColor colour(255, grey, grey, grey);
    if (record.ownsMesh)
        for (u32 i = 0; i < record.mesh->getMeshBufferCount(); ++i)
            record.mesh->getMeshBuffer(i)->getMaterial().EmissiveColor = colour;
    record.node->SetMesh(record.mesh);
    // The node's own materials carry the emission so that a shared mesh stays as the model has it.
    if (scene::IMeshSceneNode* meshNode = record.node->meshNode())
        for (u32 i = 0; i < meshNode->getMaterialCount(); ++i)
            meshNode->getMaterial(i).EmissiveColor = colour;
}

void ApplyCustomMaterials(CSolidFacility& facility)
{
    if (facilityNode(facility) == nullptr || facilityMesh(facility) == nullptr)
        return;
    scene::IMesh* shared = modelMesh(facility, facility.scene->sceneManager, nullptr);
    chooseSceneMesh(facility, shared);
    copyCustomMaterials(facility, shared);
    setFacilityBrightness(facility, facility.emissive);
}

core::matrix4 facilityMatrix(const CSolidFacility& facility, const CSolidDocument& document)
{
    // Without a node, the model's mesh counts only when it is already loaded.
    scene::IMesh* mesh = facilityMesh(facility);
    if (mesh == nullptr)
        mesh = modelMesh(facility, nullptr, nullptr);
    return placementMatrix(facility, document) * objectMatrix(facility, mesh);
}

void updateFacilityTransformation(CSolidFacility& facility, const CSolidDocument& document)
{
    const core::matrix4 matrix = facilityMatrix(facility, document);
    std::memcpy(facility.transformation.data(), matrix.pointer(), sizeof(f32) * 16);
    if (CCustomSceneNode* node = facilityNode(facility)) {
        node->setRelativeTransformationMatrix(matrix);
        node->updateAbsolutePosition();
    }
}

void stickFacilityToWall(CSolidFacility& facility, float angle, float distanceAlongWall,
                         CWall* wall, CSolidDocument& document)
{
    if (facility.stickWall != wall)
        unstickFacility(facility);
    if (wall == nullptr) {
        updateFacilityTransformation(facility, document);
        return;
    }
    facility.rotateDegree = angle;
    facility.position.x = distanceAlongWall;
    facility.position.z = 0;
    facility.stickWall = wall;
    setFacilityBrightness(facility, facility.emissive);
    updateFacilityTransformation(facility, document);
    if (cutsWall(facility))
        RebuildWallCutOuts(*wall);
}

void unstickFacility(CSolidFacility& facility)
{
    CWall* wall = facility.stickWall;
    if (wall == nullptr)
        return;
    facility.stickWall = nullptr;
    if (cutsWall(facility))
        RebuildWallCutOuts(*wall);
}

std::vector<CSolidFacility*> wallFacilities(const CSolidDocument& document, const CWall& wall)
{
    std::vector<CSolidFacility*> list;
    for (const std::unique_ptr<CSolidFacility>& facility : document.solidFacilities)
        if (facility && facility->stickWall == &wall)
            list.push_back(facility.get());
    return list;
}

std::vector<CSolidFacility*> wallCuttingFacilities(const CSolidDocument& document,
                                                   const CWall& wall)
{
    std::vector<CSolidFacility*> list = wallFacilities(document, wall);
    list.erase(std::remove_if(list.begin(), list.end(),
                              [](const CSolidFacility* f) { return !cutsWall(*f); }),
               list.end());
    return list;
}

bool cutsWall(const CSolidFacility& facility)
{
    return facility.facilityModel != nullptr && facility.facilityModel->cutsWall();
}

} // namespace vs
