#include "plugin/DesignRun.h"

#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "document/DesignReader.h"
#include "document/SolidWriter.h"
#include "plugin/ModuleDesignCatalogue.h"

namespace vs {

CSolidDocument& openCurrentDocument(const std::string& designXml)
{
    // The document is current while it is read: the host may apply a static sample to it from
    // inside the LoadStaticSample callback the reader makes.
    setCurrentDocument(std::make_unique<CSolidDocument>());
    CSolidDocument& document = *currentDocument();
    ModuleDesignCatalogue catalogue;
    readDesign(designXml, document, 1, catalogue);
    return document;
}

void runDesignDialog(bool /*renderOnly*/)
{
    // The design dialog is not built yet: the run ends at once.
}

std::string serialiseCurrentDocument()
{
    CSolidDocument* document = currentDocument();
    return document ? writeSolid(*document) : std::string();
}

void closeCurrentDocument()
{
    deleteCurrentDocument();
}

} // namespace vs
