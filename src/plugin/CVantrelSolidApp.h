// The module object: everything the module keeps between exported calls.
#pragma once

#include "catalogue/ModuleCatalogues.h"

#include <string>

class CVantrelSolidApp
{
public:
    /** The one module object, made on first use. */
    static CVantrelSolidApp& instance();

    /** Stores the home directory (null: empty) and the catalogue option of a pour. */
    void beginPour(const char* homeDirectory, int option);
    /** Creates the built-in panel kinds, then the built-in facility category and models. */
    void addBuiltIns();
    /** Links both catalogues, sets PIXIEHOME and creates the work directories. Returns true when
     *  the "Render2/" directory exists afterwards. */
    bool postPour();
    /** Drops both catalogues; callbacks and directories stay. */
    void clearMasterData();

    /** Makes sure a QApplication exists for dialogs and pictures: the host's when it has one,
     *  otherwise one the module creates once and keeps for the life of the process. Qt's own
     *  Chinese texts are installed into it. */
    void ensureUserInterface();

    std::string homeDir;   ///< host's work directory, with its trailing "/"
    std::string renderDir; ///< homeDir + "Render/"
    std::string render2Dir;
    std::string renderRoomName;
    // The module's catalogues and callbacks, kept where the layers below reach them.
    int& catalogueOption = ModuleCatalogues::instance().catalogueOption;
    HostCallbacks& callbacks = ModuleCatalogues::instance().callbacks;
    CCandyCatalogue& candies = ModuleCatalogues::instance().candies;
    CFacilityCatalogue& facilities = ModuleCatalogues::instance().facilities;

private:
    CVantrelSolidApp() = default;
    static void createApplication();
};
