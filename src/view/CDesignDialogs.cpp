#include "view/CDesignDialogs.h"

#include "catalogue/CFacilityModel.h"
#include "dialogs/CLightSetupDialog.h"
#include "dialogs/CMaterialDlg.h"
#include "dialogs/CSizeDialog.h"
#include "dialogs/CSolidFacilitySetupDialog.h"
#include "document/CSolidDocument.h"
#include "edit/SurfaceCommand.h"
#include "view/CSolidWnd.h"

namespace {

/** The size a surface or item shows in its size dialog: the explicit one, else the model's. */
IntSize shownSize(IntSize explicitSize, IntSize modelSize)
{
    return explicitSize.width > 0 && explicitSize.height > 0 ? explicitSize : modelSize;
}

} // namespace

CDesignDialogs::CDesignDialogs(CSolidWnd& wnd, QUndoStack* stack, QWidget* parent)
    : wnd_(wnd), stack_(stack), parent_(parent)
{
}

void CDesignDialogs::facilityProperties(CSolidFacility& facility)
{
    vs::runFacilitySetup(wnd_, facility, stack_, parent_);
}

void CDesignDialogs::lightSetup(CSolidLight& light)
{
    vs::runLightSetup(wnd_, &light, nullptr, stack_, parent_);
}

void CDesignDialogs::lampLightSetup(CHost& host)
{
    vs::runLightSetup(wnd_, host.light, &host, stack_, parent_);
}

void CDesignDialogs::material(CSolidFacility& facility)
{
    if (facility.facilityModel)
        vs::runMaterialDialog(wnd_, facility, stack_, parent_);
}

void CDesignDialogs::wallTileSize(CWall& wall, CWallPart& part)
{
    const IntSize modelSize =
        part.facilityModel ? part.facilityModel->defaultTileSize() : IntSize{};
    const IntSize size = shownSize(part.ceramicTileSize, modelSize);
    const auto answer = vs::askSize(CSizeDialog::Use::WallTiles, size.width, size.height, parent_);
    if (answer)
        vs::setWallTileSize(wnd_, wall, part, IntSize{answer->width, answer->height},
                            answer->allWalls);
}

void CDesignDialogs::doorWindowSize(CWall& wall, CFlatFacility& flat)
{
    const IntSize modelSize =
        flat.facilityModel ? flat.facilityModel->defaultFlatSize() : IntSize{};
    const IntSize size = shownSize(flat.flatSize, modelSize);
    const auto answer =
        vs::askSize(CSizeDialog::Use::DoorsAndWindows, size.width, size.height, parent_);
    if (answer)
        vs::setFlatFacilitySize(wnd_, wall, flat, IntSize{answer->width, answer->height});
}

void CDesignDialogs::floorTileSize()
{
    SolidFloor* floor = wnd_.document().floor.get();
    if (!floor)
        return;
    const IntSize modelSize =
        floor->facilityModel ? floor->facilityModel->defaultTileSize() : IntSize{};
    const IntSize size = shownSize(floor->ceramicTileSize, modelSize);
    const auto answer = vs::askSize(CSizeDialog::Use::FloorTiles, size.width, size.height, parent_);
    if (answer)
        vs::setFloorTileSize(wnd_, IntSize{answer->width, answer->height});
}
