// The one way the plug-in side reaches the 3D view that shows a document's static sample: the
// view registers a refresh for its document, and applying a sample calls it. This keeps the
// exports free of any view header.
#pragma once

#include <functional>

class CSolidDocument;

namespace vs {

/** Rebuilds a view's static-sample pictures and redraws it. */
using StaticSampleRefresh = std::function<void()>;

/** Registers `refresh` as the view of `document` (replacing any earlier registration of any
 *  document: one view is shown at a time). An empty function or a null document clears it. */
void setStaticSampleView(const CSolidDocument* document, StaticSampleRefresh refresh);

/** Clears the registration when it belongs to `document`; another document's stays. */
void clearStaticSampleView(const CSolidDocument* document);

/** Calls the refresh registered for `document`. Returns false, doing nothing, when no view
 *  shows it. The refresh may clear or replace the registration while it runs. */
bool refreshStaticSampleView(const CSolidDocument& document);

} // namespace vs
