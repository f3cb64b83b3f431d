// Reading a room design: the host's design XML into a CSolidDocument.
#pragma once

#include <cstddef>
#include <string>

class CSolidDocument;
class DesignCatalogue;

namespace vs {

/** Deepest nesting of ceiling planes, and of facility groups, that a design may have. */
constexpr int kMaxDesignNesting = 64;

/** Most points a ceiling plane's outline may have. A room's outline has a few dozen; a round
 *  room of 10 m radius drawn in 2 cm steps has about 3 000. Each point costs a wall. */
constexpr size_t kMaxOutlinePoints = 4096;

/**
 * Fills `document` (a new, empty one) from the design XML `utf8Text`: the ceiling tree with
 * lengths multiplied by `ceilingScale`, then the 3D part from the "solid" element, or the
 * default floor, walls and main light of a design without one. Catalogue entries are resolved
 * through `catalogue`; when the document's staticSolidSampleId is positive afterwards,
 * catalogue.loadStaticSample is called with it. A text that does not parse as XML reads like
 * a design element without attributes or children. A stored field of view is kept within 30 to
 * 120 degrees and the eye height within 1 to 2.6 metres, as the display setup keeps them.
 *
 * Throws std::invalid_argument for a malformed design (a value with too few numbers, a bad
 * dock or split-line link, no wall to copy, fewer than seven facility models without a
 * "solid" element, nesting deeper than kMaxDesignNesting, numbers that are not finite or out
 * of range in the ceiling, a ceilingScale below 1, an outline of more than kMaxOutlinePoints
 * points, an XML root that is no room design: without a ceiling outline and without a "solid"
 * element); the document is then left partly filled. A text whose elements nest more than
 * kMaxDesignXmlDepth levels deep is refused before anything of it is read.
 */
void readDesign(const std::string& utf8Text, CSolidDocument& document, int ceilingScale,
                DesignCatalogue& catalogue);

} // namespace vs
