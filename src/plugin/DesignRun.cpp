#include "plugin/DesignRun.h"

#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"

namespace vs {

CSolidDocument& openCurrentDocument(const std::string& /*designXml*/)
{
    // The design XML reader fills the document; until it is built every design opens as a new,
    // empty document.
    setCurrentDocument(std::make_unique<CSolidDocument>());
    return *currentDocument();
}

void runDesignDialog(bool /*renderOnly*/)
{
    // The design dialog is not built yet: the run ends at once.
}

std::string serialiseCurrentDocument()
{
    // The writer of the solid element is not built yet: nothing of the 3D part is handed back.
    return std::string();
}

void closeCurrentDocument()
{
    deleteCurrentDocument();
}

} // namespace vs
