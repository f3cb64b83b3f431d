// The design dialog's test fixture with a bundled design read as the current document: its
// walls, lamp and ceiling are what the setup dialogs edit.
#pragma once

#include "view/DialogTestFixture.h"

#include "ceiling/SolidWriter.h"
#include "document/CSolidDocument.h"
#include "plugin/DesignRun.h"

#include <fstream>
#include <sstream>
#include <string>

namespace dialogtest {

class RoomDialogTest : public DialogTest
{
protected:
    /** Reads data/designs/`name` as the current document and opens the design dialog on it. */
    CSolidDocument& openRoom(const char* name)
    {
        std::ifstream in(std::string(VS_TEST_SOURCE_DIR) + "/data/designs/" + name);
        std::stringstream text;
        text << in.rdbuf();
        vs::openCurrentDocument(text.str());
        openDialog();
        wnd_ = view_->solidWnd();
        doc_ = &wnd_->document();
        return *doc_;
    }

    /** The saved form of the document, to compare before and after. */
    std::string written() const { return vs::writeSolid(*doc_); }

    CSolidWnd* wnd_ = nullptr;
    CSolidDocument* doc_ = nullptr;
};

} // namespace dialogtest
