// A solid sample the host hands over for the open design: read privately, then applied.
#pragma once

#include <string>

class CSolidDocument;

namespace vs {

/**
 * Reads `sampleXml` (UTF-8) into a private document with `ceilingScale` and applies it to
 * `document` turned by `angle` degrees (ceiling/SolidSampleMapping.h). While the design dialog
 * shows the document, the application is one step on its undo stack and the scene is rebuilt
 * and drawn; otherwise only the document changes. Throws std::invalid_argument, leaving the
 * document as it was, for a sample that is empty or not XML, that the design reader refuses,
 * or that has no room outline (nor has the document).
 */
void applySolidSample(CSolidDocument& document, const std::string& sampleXml, int angle,
                      int ceilingScale);

} // namespace vs
