#include "CurrentDocument.h"

#include "CSolidDocument.h"

namespace vs {
namespace {

std::unique_ptr<CSolidDocument>& current()
{
    static std::unique_ptr<CSolidDocument> document;
    return document;
}

} // namespace

CSolidDocument* currentDocument()
{
    return current().get();
}

void setCurrentDocument(std::unique_ptr<CSolidDocument> document)
{
    // The old one dies at the end of this function, after the new one is current.
    current().swap(document);
}

std::unique_ptr<CSolidDocument> takeCurrentDocument()
{
    return std::move(current());
}

void deleteCurrentDocument()
{
    takeCurrentDocument().reset();
}

} // namespace vs
