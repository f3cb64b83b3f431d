// Applying the display preferences of a room's view state to its scene: the ceiling's look
// from above and its lighting, the ambient colour, and the lighting model.
#pragma once

#include <cstdint>

class CSolidDocument;
class SolidViewState;
namespace irr {
namespace scene {
class ISceneManager;
}
} // namespace irr

namespace vs {

/** The alpha of the ceiling seen from above: roofBackAlphaPercent (clamped to 0..100) * 255 /
 *  100 when roofBackSemitransparent is set, else 0. */
uint8_t roofBackAlpha(const SolidViewState& state);

/** Gives the ceiling the see-through alpha roofBackAlpha and the lighting roofUseLighting of the
 *  document's view state (defaults without one); does nothing without a ceiling. */
void applyRoofDisplay(CSolidDocument& document);

/** Sets the scene manager's ambient light from a COLORREF 0x00BBGGRR (red in the low byte),
 *  alpha 1. Nothing for a null manager. */
void applyAmbient(irr::scene::ISceneManager* smgr, int ambientColor);

/** Switches the document's lights to the simple (default lights) or the professional (the
 *  user's lights) model. */
void applyLightingModel(CSolidDocument& document, bool simpleLighting);

/** All three with the document's view state (defaults without one). */
void applyDisplayPreferences(CSolidDocument& document, irr::scene::ISceneManager* smgr);

} // namespace vs
