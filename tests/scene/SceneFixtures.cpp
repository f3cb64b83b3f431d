#include "SceneFixtures.h"

#include "ceiling/DesignReader.h"

#include <sstream>

namespace scenefix {

SceneCatalogue::SceneCatalogue()
{
    addBuiltInModels();
    addModel(101, 0, 9000, 6000);
    addType(11, 6000, 6000);
}

std::string roomDesign(double width, double height, double left, double top,
                       const std::string& body)
{
    std::ostringstream s;
    s.precision(12);
    s << "<design name='Room' gridWidth='6000' gridHeight='6000' outlinePoints='" << left << ","
      << top << " " << left + width << "," << top << " " << left + width << "," << top + height
      << " " << left << "," << top + height << "'>" << body << "</design>";
    return s.str();
}

std::unique_ptr<CSolidDocument> readRoom(const std::string& text, SceneCatalogue& catalogue)
{
    auto document = std::make_unique<CSolidDocument>();
    vs::readDesign(text, *document, 1, catalogue);
    return document;
}

double meshArea(const irr::scene::IMesh& mesh)
{
    double area = 0;
    for (irr::u32 b = 0; b < mesh.getMeshBufferCount(); ++b) {
        const irr::scene::IMeshBuffer* buffer = mesh.getMeshBuffer(b);
        const auto* v = static_cast<const irr::video::S3DVertex*>(buffer->getVertices());
        const irr::u16* idx = buffer->getIndices();
        for (irr::u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3) {
            irr::core::vector3d<double> a(v[idx[i]].Pos.X, v[idx[i]].Pos.Y, v[idx[i]].Pos.Z);
            irr::core::vector3d<double> b2(v[idx[i + 1]].Pos.X, v[idx[i + 1]].Pos.Y,
                                           v[idx[i + 1]].Pos.Z);
            irr::core::vector3d<double> c(v[idx[i + 2]].Pos.X, v[idx[i + 2]].Pos.Y,
                                          v[idx[i + 2]].Pos.Z);
            area += (b2 - a).crossProduct(c - a).getLength() / 2;
        }
    }
    return area;
}

void updateChain(irr::scene::ISceneNode* node)
{
    std::vector<irr::scene::ISceneNode*> chain;
    for (; node; node = node->getParent())
        chain.push_back(node);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->updateAbsolutePosition();
}

bool hit(irr::scene::ISceneManager* smgr, irr::scene::ITriangleSelector* selector,
         const irr::core::line3df& ray, irr::core::vector3df& point)
{
    irr::core::triangle3df triangle;
    irr::scene::ISceneNode* node = nullptr;
    return smgr->getSceneCollisionManager()->getCollisionPoint(ray, selector, point, triangle,
                                                               node);
}

} // namespace scenefix
