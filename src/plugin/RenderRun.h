// The design dialog's render buttons wired to the render job: "精细渲染" hands the design to
// the render program in an interactive run and renders in a render run; the hidden buttons
// write the Kerkythea template and end the process. Also the headless render of
// ExportSolidRender.
#pragma once

#include "render/RenderView.h"

#include <string>

class CSolidWnd;
class CVantrelSolidView;

namespace vs {

/** Connects the dialog's render buttons to their actions. */
void connectRenderButtons(CVantrelSolidView& dialog);

/** The work of "精细渲染": the hand-off in an interactive run, the render in a render run. The
 *  current directory is restored afterwards. */
void FineRender(CVantrelSolidView& dialog);

/** A render run: ends older runs, registers this one, hides the dialog under the render title,
 *  runs "精细渲染" and returns (the caller closes the dialog). */
void RunRenderRun(CVantrelSolidView& dialog);

/** The render view of a 3D window: its size, active camera and first-person eye. */
RenderView renderViewOf(const CSolidWnd& window);

/** True when no one can answer a dialog: VANTREL_SOLID_UNATTENDED is set, or Qt runs on a
 *  platform without a screen (offscreen, minimal). Render runs then take the last render
 *  parameters and report on stderr instead of in message boxes. */
bool unattendedRun();

/**
 * ExportSolidRender: renders `designXml` (UTF-8) headless into `imagePath` (TIFF, PNG or JPEG
 * by its extension, written whole) at `width` x `height` in `viewMode`, with
 * `samplesPerSide`^2 pixel samples, the shadow pass when `shadows`, and `brightness`. Throws
 * std::invalid_argument for arguments out of range, std::runtime_error when a design run is
 * open, the pour is missing, the renderer cannot be prepared or the render fails, FileError
 * when the picture cannot be written.
 */
void exportSolidRender(const std::string& designXml, const std::string& imagePath, int width,
                       int height, int viewMode, int samplesPerSide, bool shadows, int brightness);

} // namespace vs
