// The work of one render: preparing the renderer in the home directory, and the render worker
// that exports the shadow pass (when shadows are wanted) and the main pass.
#pragma once

#include "render/RenderExport.h"
#include "render/RenderView.h"

#include <string>

namespace vs {

/** How a render job ended. */
enum class RenderOutcome { Done, Stopped, Failed };

struct RenderResult
{
    RenderOutcome outcome = RenderOutcome::Done;
    /** Why it failed (empty otherwise). */
    std::string message;
};

/**
 * The set-up of a render run: makes `homeDir` the current directory and runs WriteDebugCRT,
 * WriteShaders and InitRenderMan, stopping at the first failure. Returns null on success, else
 * the failing step's message ("WriteShaders 出错！", ...).
 */
const char* prepareRenderer(const std::string& homeDir);

/** "shadow<pid>_<counter><extension>": shadow files of two render processes never collide. */
std::string shadowFileName(int counter, const char* extension);

/**
 * The render worker's job, in the render folder (the current directory): renderCounter + 1,
 * the job's lighting model from the document's preferences, the shadow pass when
 * renderShadows, then the main pass into RenderSettings::imageFile. An older picture of that
 * name is removed first, so a failed or stopped job never leaves one that looks new; a job
 * whose shadow pass fails skips the main pass. `progress` gets the main pass's fraction (the
 * shadow pass counts as its first tenth) and stops the job by returning false.
 */
RenderResult RenderWorker(const RenderView& view, const RenderProgress& progress = {});

/** Writes the Kerkythea scene template "1.xml" into `render2Dir`: the module's head and tail
 *  of a scene file, nothing of the design between them. Returns false when it cannot. */
bool ExportTemplateScene(const std::string& render2Dir);

} // namespace vs
