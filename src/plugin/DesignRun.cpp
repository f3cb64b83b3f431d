#include "plugin/DesignRun.h"

#include "catalogue/ModuleDesignCatalogue.h"
#include "ceiling/DesignReader.h"
#include "ceiling/SolidWriter.h"
#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "plugin/RenderRun.h"
#include "view/CVantrelSolidView.h"

#include <QGuiApplication>

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

void runDesignDialog(bool renderOnly)
{
    CSolidDocument* document = currentDocument();
    if (document == nullptr)
        return;
    CVantrelSolidView dialog(*document);
    connectRenderButtons(dialog);
    if (renderOnly) {
        RunRenderRun(dialog);
        return;
    }
    // Nobody can see, let alone close, a dialog on a platform without a screen (offscreen,
    // minimal): such a run builds the dialog and its scene and ends, instead of waiting forever.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
        dialog.startEngine();
        return;
    }
    dialog.exec();
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
