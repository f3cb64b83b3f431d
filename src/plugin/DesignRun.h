// One design run: the current document from opening to deletion, around the design dialog.
#pragma once

#include <string>

class CSolidDocument;

namespace vs {

/** Replaces the current document by a new one read from `designXml` (UTF-8) with ceiling scale
 *  1, and returns it. */
CSolidDocument& openCurrentDocument(const std::string& designXml);

/** Runs the design dialog modally on the current document; `renderOnly` runs it hidden to
 *  render. Returns when the dialog has closed. */
void runDesignDialog(bool renderOnly);

/** The `solid` element of the current document as text (UTF-8). */
std::string serialiseCurrentDocument();

/** Deletes the current document, if any. */
void closeCurrentDocument();

/** Deletes the current document when it goes out of scope, whatever happens in between. */
class CurrentDocumentScope
{
public:
    CurrentDocumentScope() = default;
    ~CurrentDocumentScope() { closeCurrentDocument(); }
    CurrentDocumentScope(const CurrentDocumentScope&) = delete;
    CurrentDocumentScope& operator=(const CurrentDocumentScope&) = delete;
};

} // namespace vs
