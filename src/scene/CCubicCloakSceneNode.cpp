#include "scene/CCubicCloakSceneNode.h"

using namespace irr;

namespace {

scene::SMesh* makeFaceMesh()
{
    auto* buffer = new scene::SMeshBuffer();
    const video::SColor none(0);
    const core::vector3df zero(0, 0, 0);
    buffer->Vertices.push_back(video::S3DVertex(core::vector3df(0, 1, 0), zero, none, {0, 0}));
    buffer->Vertices.push_back(video::S3DVertex(core::vector3df(1, 1, 0), zero, none, {0, 0}));
    buffer->Vertices.push_back(video::S3DVertex(core::vector3df(1, 0, 0), zero, none, {0, 0}));
    buffer->Vertices.push_back(video::S3DVertex(core::vector3df(0, 0, 0), zero, none, {0, 0}));
    for (u16 i : {0, 1, 2, 0, 2, 3})
        buffer->Indices.push_back(i);
    buffer->recalculateBoundingBox();
    auto* mesh = new scene::SMesh();
    mesh->addMeshBuffer(buffer);
    buffer->drop();
    mesh->recalculateBoundingBox();
    return mesh;
}

struct FacePlacement
{
    core::vector3df rotation;
    core::vector3df position;
};

const FacePlacement kFaces[6] = {
    {{0, 0, 0}, {0, 0, 0}},  {{0, 270, 0}, {1, 0, 0}}, {{0, 180, 0}, {1, 0, 1}},
    {{0, 90, 0}, {0, 0, 1}}, {{90, 0, 0}, {0, 1, 0}},  {{270, 0, 0}, {0, 0, 1}},
};

} // namespace

CCubicCloakSceneNode::CCubicCloakSceneNode(const core::vector3df& position,
                                           const core::vector3df& rotation,
                                           scene::ISceneNode* parent, scene::ISceneManager* smgr)
    : CSolidSceneNode(parent, smgr)
{
    setPosition(position);
    setRotation(rotation);
    setBoundingBox(core::aabbox3d<f32>(0, 0, 0, 1, 1, 1));
    for (int i = 0; i < 6; ++i) {
        meshes_[i] = makeFaceMesh();
        scene::IMeshSceneNode* face = smgr->addMeshSceneNode(
            meshes_[i], this, -1, kFaces[i].position, kFaces[i].rotation, core::vector3df(1, 1, 1));
        face->setMaterialFlag(video::EMF_LIGHTING, false);
        face->setMaterialType(video::EMT_TRANSPARENT_VERTEX_ALPHA);
        face->setVisible(true);
        selectors_[i] = smgr->createTriangleSelector(meshes_[i], face);
        faces_[i] = face;
    }
}

CCubicCloakSceneNode::~CCubicCloakSceneNode()
{
    for (scene::ITriangleSelector* s : selectors_)
        if (s)
            s->drop();
    for (scene::SMesh* m : meshes_)
        if (m)
            m->drop();
}

void CCubicCloakSceneNode::render()
{
    video::IVideoDriver* driver = SceneManager->getVideoDriver();
    if (!driver)
        return;
    const video::SColor green(0xFF00FF00);
    video::SMaterial frame;
    frame.AmbientColor = green;
    frame.DiffuseColor = green;
    frame.EmissiveColor = green;
    driver->setMaterial(frame);
    driver->setTransform(video::ETS_WORLD, AbsoluteTransformation);
    driver->draw3DBox(core::aabbox3d<f32>(0, 0, 0, 1, 1, 1), green);
}

scene::ITriangleSelector* CCubicCloakSceneNode::faceSelector(int i) const
{
    return i >= 0 && i < 6 ? selectors_[static_cast<size_t>(i)] : nullptr;
}

scene::IMeshSceneNode* CCubicCloakSceneNode::faceNode(int i) const
{
    return i >= 0 && i < 6 ? faces_[static_cast<size_t>(i)] : nullptr;
}
