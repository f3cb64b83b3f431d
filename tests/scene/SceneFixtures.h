// Designs read for the room, floor and wall scene tests, with a catalogue made in code.
#pragma once

#include "SceneTestDevice.h"

#include "catalogue/CCandyType.h"
#include "catalogue/CFacilityModel.h"
#include "document/CSolidDocument.h"
#include "support/ListDesignCatalogue.h"

#include <irrlicht.h>

#include <memory>
#include <string>
#include <vector>

namespace scenefix {

/** The seven built-in models (ids -1..-7), a picture model 101 (9000 x 6000) and one panel
 *  type 11 (600 mm square); none has pictures, so natural sizes are the models' sizes. */
class SceneCatalogue : public testsupport::ListDesignCatalogue
{
public:
    SceneCatalogue();
};

/** A design of a rectangular room (left, top) to (left + width, top + height) in
 *  decimillimetres with `body` inside the design element. */
std::string roomDesign(double width, double height, double left = 0, double top = 0,
                       const std::string& body = "");

/** Reads `text` into a new document. */
std::unique_ptr<CSolidDocument> readRoom(const std::string& text, SceneCatalogue& catalogue);

/** Sum of the triangle areas of every buffer of mesh. */
double meshArea(const irr::scene::IMesh& mesh);

/** Updates the absolute transformations of node and its whole chain of parents. */
void updateChain(irr::scene::ISceneNode* node);

/** The hit of `ray` against selector, or false. */
bool hit(irr::scene::ISceneManager* smgr, irr::scene::ITriangleSelector* selector,
         const irr::core::line3df& ray, irr::core::vector3df& point);

} // namespace scenefix
