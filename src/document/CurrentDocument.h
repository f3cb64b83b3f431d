// The module's one current room document, reachable from everywhere during a design run.
#pragma once

#include <memory>

class CSolidDocument;

namespace vs {

/** Returns the current document, or null when there is none. */
CSolidDocument* currentDocument();

/**
 * Makes document the current one (null clears it) and deletes the previous one. While the
 * previous one is being deleted, currentDocument() already returns the new one.
 */
void setCurrentDocument(std::unique_ptr<CSolidDocument> document);

/** Returns the current document and leaves none current. */
std::unique_ptr<CSolidDocument> takeCurrentDocument();

/** Deletes the current document; currentDocument() is null while it is being deleted. */
void deleteCurrentDocument();

} // namespace vs
