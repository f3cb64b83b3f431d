// The module object: everything the module keeps between exported calls.
#pragma once

#include "plugin/CCandyCatalogue.h"
#include "plugin/CFacilityCatalogue.h"
#include "plugin/HostCallbacks.h"

#include <string>

class CVantrelSolidApp {
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
    int catalogueOption = 0;
    HostCallbacks callbacks;
    CCandyCatalogue candies{&callbacks};
    CFacilityCatalogue facilities{&callbacks};

private:
    CVantrelSolidApp() = default;
    static void createApplication();
};
