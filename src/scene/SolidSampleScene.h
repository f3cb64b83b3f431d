// The scene's side of applying a solid sample: the room's facilities and wall decorations are
// exchanged (ceiling/SolidSampleMapping.h) while the room is shown, and the scene follows.
#pragma once

class CSolidDocument;

namespace vs {

struct SolidContents;

/**
 * Exchanges `document`'s solid facilities and wall decorations with `contents`
 * (exchangeSolidContents) and rebuilds what shows them: the leaving facilities' nodes and every
 * wall's scene are released first; the arriving facilities get their nodes, every wall is built
 * again (bands, flat items, cut-outs), and facilities and walls take the visibility the room's
 * floor has (the whole room shown or the ceiling alone, by the view mode). Lights are left as
 * they are. Without a room node only the document changes. Nothing is drawn.
 */
void exchangeShownSolidContents(CSolidDocument& document, SolidContents& contents);

} // namespace vs
