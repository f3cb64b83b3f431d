// Meshes, models and rooms built in code for the facility and light scene tests.
#pragma once

#include "catalogue/CFacilityModel.h"
#include "document/CSolidDocument.h"

#include <irrlicht.h>

#include <memory>
#include <vector>

namespace vs::fixtures {

/**
 * Returns a new mesh (reference count 1) of `buffers` boxes, each a closed triangle list of
 * the box min..max (buffer i shifted up by i * (max.Y - min.Y)).
 */
irr::scene::SMesh* boxMesh(const irr::core::vector3df& min, const irr::core::vector3df& max,
                           irr::u32 buffers = 1);

/** A catalogue model `id` without host data whose cached mesh is `mesh` (grabbed; may be null). */
std::unique_ptr<CFacilityModel> modelWithMesh(int id, irr::scene::IMesh* mesh,
                                              int kindAndFlags = 0);

/**
 * A document whose root ceiling plane has `outline` (plan points) as outline and indented
 * outline, with indented bounds its bounding box moved by (indentLeft, indentTop), and one
 * wall per edge.
 */
std::unique_ptr<CSolidDocument> roomDocument(const std::vector<RPoint>& outline,
                                             double indentLeft = 0, double indentTop = 0);

/** The 6000 x 4000 mm room (0,0) (60000,0) (60000,40000) (0,40000). */
std::unique_ptr<CSolidDocument> rectangularRoom();

/** Appends a new facility of `model` (may be null) with the given size to the document. */
CSolidFacility& addFacility(CSolidDocument& document, CFacilityModel* model, const Vec3f& size);

/** The box of the node's mesh (or its own box) in world space, after updating the chain. */
irr::core::aabbox3df worldBox(irr::scene::ISceneNode* node);

} // namespace vs::fixtures
