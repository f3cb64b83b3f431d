// The scene nodes of the room's lights: one engine light per light record, a wireframe sphere
// marking its position with the marker's triangle selector for picking, and the switch between
// the simple lighting model (the document's default lights) and the professional one (the
// user's lights).
//
// Light positions are in scene axes relative to the room node (decimillimetres).
#pragma once

#include <irrlicht.h>

class CSolidDocument;
class CSolidLight;

/** A light's scene objects while shown, held by CSolidLight::scene. */
struct SolidLightScene
{
    /** The engine light; held by its parent node. */
    irr::scene::ILightSceneNode* light = nullptr;
    /** The wireframe sphere marking the light; held by its parent node. */
    irr::scene::IMeshSceneNode* marker = nullptr;
    /** Triangle selector of the marker, tested by picking; one reference held (dropped with
     *  the record). */
    irr::scene::ITriangleSelector* markerSelector = nullptr;
};

namespace vs {

/** The engine light of `light`; null while it is not shown. */
irr::scene::ILightSceneNode* lightNode(const CSolidLight& light);

/** The wireframe sphere marking `light`; null while it has none. */
irr::scene::IMeshSceneNode* lightMarkerNode(const CSolidLight& light);

/** The triangle selector of the marker of `light`; null while it has none. */
irr::scene::ITriangleSelector* lightMarkerSelector(const CSolidLight& light);

/** Radius of a light's position marker, decimillimetres. */
constexpr float lightMarkerRadius = 500;

/** Returns the engine light record of `light` (an unknown type becomes a point light). */
irr::video::SLight engineLight(const CSolidLight& light);

/**
 * Builds the light node and the marker of `light` under `parent`: the light at the record's
 * position with the whole record, turned by (90, 0, 0) so that its direction points down and
 * switched on by isVisible; the marker, a wireframe unlit sphere of radius 500 shown by
 * markerShown, with its triangle selector. A light that has nodes is released first. Does
 * nothing without a scene manager.
 */
void buildLightNode(CSolidLight& light, irr::scene::ISceneNode* parent);

/**
 * Builds the nodes of every light of `document` under `roomNode`, the user's lights first, then
 * the default lights, and applies the lighting model of the document's view state (simple
 * lighting when it has none).
 */
void buildLightNodes(CSolidDocument& document, irr::scene::ISceneNode* roomNode);

/** Removes the light node and the marker of `light`, drops the selector, clears the pointers. */
void releaseLightNode(CSolidLight& light);

/** Releases the nodes of both light lists of `document`. */
void releaseLightNodes(CSolidDocument& document);

/**
 * Gives the light node the record again after an edit: the light data, the position (light and
 * marker) and the visibility by isVisible. Does nothing for a light without nodes.
 */
void updateLightNode(CSolidLight& light);

/**
 * Gives the nodes of `light` the light data, position and visibility of `values` (a working
 * copy of the light, while a dialog previews an edit); the record stays as it is. Does nothing
 * for a light without nodes.
 */
void previewLightNode(CSolidLight& light, const CSolidLight& values);

/**
 * Switches the lighting model. Simple: the user's lights and their markers are hidden, the
 * default lights shown by isVisible and their markers by markerShown. Professional: the other
 * way round.
 */
void applyLightingModelToLights(bool simpleLighting, CSolidDocument& document);

/**
 * Sets the marker flag of every light of the active list (the default lights under simple
 * lighting, the user's lights otherwise) to `show` and shows or hides their markers.
 */
void showLightMarkers(bool show, bool simpleLighting, CSolidDocument& document);

/** Same, with the lighting model of the document's view state (simple when it has none). */
void showLightMarkers(bool show, CSolidDocument& document);

/** Sets the marker flag of one light and shows or hides its marker accordingly. */
void setLightMarkerShown(CSolidLight& light, bool show);

/** True when the document's view state asks for simple lighting (true without a view state). */
bool usesSimpleLighting(const CSolidDocument& document);

} // namespace vs
