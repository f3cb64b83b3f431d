#include "edit/ContextMenu.h"

#include "document/CSolidDocument.h"
#include "edit/CeilingEdits.h"
#include "edit/DesignDialogs.h"
#include "edit/DesignView.h"
#include "edit/FacilityEdits.h"
#include "edit/LightListCommand.h"
#include "edit/PickResult.h"
#include "edit/Picker.h"
#include "edit/Selection.h"
#include "edit/SurfaceCommand.h"
#include "scene/LightScene.h"

#include <QMenu>
#include <QUndoStack>
#include <QWidget>

#include <functional>
#include <vector>

namespace {

// Menu resource 134: one popup per kind of object hit, named "0" to "6" ("3" has no use here).
const char* const kFacilityPopup[] = {"删除", "左转90度", "右转90度", "解除贴墙",
                                      "贴墙", "贴地",     "贴顶",     "属性",
                                      "组合", "解散",     "材质",     "保存模型"};
const char* const kLightPopup[] = {"删除", "属性"};
const char* const kHostPopup[] = {"删除", "左转90度", "右转90度", "灯光设置"};
const char* const kWallPopup[] = {"瓷砖尺寸", "当前选择物体贴墙"};
const char* const kDoorPopup[] = {"删除", "门窗尺寸", "当前选择物体贴墙"};
const char* const kFloorPopup[] = {"地砖尺寸"};

/** Entries of popup "0" that this window does not offer. */
const char* const kRemovedFromFacilityPopup[] = {"贴墙", "保存模型"};

/** Set while a context menu is open: no second one opens until it is closed. */
bool menuOpen = false;

/** Marks a context menu open for its lifetime. */
class OpenMenu
{
public:
    OpenMenu() { menuOpen = true; }
    ~OpenMenu() { menuOpen = false; }
    OpenMenu(const OpenMenu&) = delete;
    OpenMenu& operator=(const OpenMenu&) = delete;
};

template <std::size_t N>
std::unique_ptr<QMenu> popup(const char* const (&texts)[N], QWidget* parent)
{
    auto menu = std::make_unique<QMenu>(parent);
    for (const char* text : texts)
        menu->addAction(QString::fromUtf8(text));
    return menu;
}

QAction* entry(QMenu& menu, const char* text)
{
    const QString wanted = QString::fromUtf8(text);
    for (QAction* action : menu.actions())
        if (action->text() == wanted)
            return action;
    return nullptr;
}

/** Connects the entry to `command` and greys it unless `enabled`. */
void bind(QMenu& menu, const char* text, bool enabled, std::function<void()> command)
{
    if (QAction* action = entry(menu, text)) {
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, &menu,
                         [command = std::move(command)] { command(); });
    }
}

std::unique_ptr<QMenu> facilityMenu(DesignView& view, CSolidFacility& facility, QWidget* parent)
{
    Selection& selection = view.selection();
    if (!selection.contains(&facility))
        selection.selectOnly(facility);
    auto menu = popup(kFacilityPopup, parent);
    for (const char* removed : kRemovedFromFacilityPopup)
        if (QAction* action = entry(*menu, removed))
            menu->removeAction(action);
    DesignDialogs* dialogs = view.dialogs();
    CSolidFacility* f = &facility;
    bind(*menu, "删除", true, [&view] { vs::deleteSelectedFacilities(view); });
    bind(*menu, "左转90度", true, [&view] { vs::turnSelectedFacilities(view, 90); });
    bind(*menu, "右转90度", true, [&view] { vs::turnSelectedFacilities(view, -90); });
    bind(*menu, "解除贴墙", facility.stickWall != nullptr,
         [&view] { vs::unstickSelectedFacilities(view); });
    bind(*menu, "贴地", true, [&view] { vs::stickSelectedToFloor(view); });
    bind(*menu, "贴顶", true, [&view] { vs::stickSelectedToTop(view); });
    bind(*menu, "属性", dialogs != nullptr, [dialogs, f] { dialogs->facilityProperties(*f); });
    bind(*menu, "组合", selection.size() >= 2, [&view] { vs::groupSelectedFacilities(view); });
    bind(*menu, "解散", true, [&view] { vs::ungroupSelectedFacilities(view); });
    bind(*menu, "材质", dialogs != nullptr && facility.facilityModel != nullptr,
         [dialogs, f] { dialogs->material(*f); });
    return menu;
}

std::unique_ptr<QMenu> lightMenu(DesignView& view, CSolidLight& light, QWidget* parent)
{
    auto menu = popup(kLightPopup, parent);
    DesignDialogs* dialogs = view.dialogs();
    CSolidLight* l = &light;
    bind(*menu, "删除", !light.isMain, [&view, l] { vs::deleteLight(view, *l); });
    bind(*menu, "属性", dialogs != nullptr, [dialogs, l] { dialogs->lightSetup(*l); });
    return menu;
}

std::unique_ptr<QMenu> hostMenu(DesignView& view, CHost& host, QWidget* parent)
{
    auto menu = popup(kHostPopup, parent);
    DesignDialogs* dialogs = view.dialogs();
    CHost* h = &host;
    const bool lightSetup =
        dialogs && !vs::usesSimpleLighting(view.document()) && !view.ceilingOnly();
    bind(*menu, "删除", true, [&view, h] { vs::deleteCeilingHost(view, *h); });
    bind(*menu, "左转90度", true, [&view, h] { vs::rotateCeilingHost(view, *h, 90); });
    bind(*menu, "右转90度", true, [&view, h] { vs::rotateCeilingHost(view, *h, 270); });
    bind(*menu, "灯光设置", lightSetup, [dialogs, h] { dialogs->lampLightSetup(*h); });
    return menu;
}

std::unique_ptr<QMenu> wallMenu(DesignView& view, const PickResult& hit, QWidget* parent)
{
    DesignDialogs* dialogs = view.dialogs();
    CWall* wall = hit.wall;
    const float along = hit.wallPoint.X;
    const bool canStick = !view.selection().empty();
    auto stick = [&view, wall, along] { vs::stickSelectedToWall(view, *wall, along); };
    if (CFlatFacility* flat = hit.flat) {
        auto menu = popup(kDoorPopup, parent);
        bind(*menu, "删除", true,
             [&view, wall, flat] { vs::deleteFlatFacility(view, *wall, *flat); });
        bind(*menu, "门窗尺寸", dialogs != nullptr,
             [dialogs, wall, flat] { dialogs->doorWindowSize(*wall, *flat); });
        bind(*menu, "当前选择物体贴墙", canStick, stick);
        return menu;
    }
    auto menu = popup(kWallPopup, parent);
    CWallPart* part = hit.wallPart;
    bind(*menu, "瓷砖尺寸", dialogs != nullptr && part != nullptr,
         [dialogs, wall, part] { dialogs->wallTileSize(*wall, *part); });
    bind(*menu, "当前选择物体贴墙", canStick, stick);
    return menu;
}

std::unique_ptr<QMenu> floorMenu(DesignView& view, QWidget* parent)
{
    auto menu = popup(kFloorPopup, parent);
    DesignDialogs* dialogs = view.dialogs();
    bind(*menu, "地砖尺寸", dialogs != nullptr, [dialogs] { dialogs->floorTileSize(); });
    return menu;
}

std::unique_ptr<QMenu> popupFor(DesignView& view, const PickResult& hit, QWidget* parent)
{
    switch (hit.kind) {
    case PickResult::Kind::Facility:
        if (hit.facility)
            return facilityMenu(view, *hit.facility, parent);
        break;
    case PickResult::Kind::LightMarker:
        if (hit.light)
            return lightMenu(view, *hit.light, parent);
        break;
    case PickResult::Kind::Ceiling:
        if (hit.host)
            return hostMenu(view, *hit.host, parent);
        break;
    case PickResult::Kind::Wall:
        if (hit.wall)
            return wallMenu(view, hit, parent);
        break;
    case PickResult::Kind::Floor:
        return floorMenu(view, parent);
    case PickResult::Kind::None:
        break;
    }
    return nullptr;
}

/** "撤销 <step>" and "重做 <step>", greyed when there is nothing to take back or redo. */
void addUndoEntries(QMenu& menu, QUndoStack& stack)
{
    if (!menu.isEmpty())
        menu.addSeparator();
    const QString undoText =
        stack.canUndo() ? QStringLiteral("撤销 %1").arg(stack.undoText()) : QStringLiteral("撤销");
    QAction* undo = menu.addAction(undoText);
    undo->setEnabled(stack.canUndo());
    QObject::connect(undo, &QAction::triggered, &stack, &QUndoStack::undo);
    const QString redoText =
        stack.canRedo() ? QStringLiteral("重做 %1").arg(stack.redoText()) : QStringLiteral("重做");
    QAction* redo = menu.addAction(redoText);
    redo->setEnabled(stack.canRedo());
    QObject::connect(redo, &QAction::triggered, &stack, &QUndoStack::redo);
}

} // namespace

namespace vs {

std::unique_ptr<QMenu> buildContextMenu(DesignView& view, const PickResult& hit, QWidget* parent)
{
    std::unique_ptr<QMenu> menu = popupFor(view, hit, parent);
    QUndoStack* stack = view.undoStack();
    if (stack && (menu || stack->canUndo() || stack->canRedo())) {
        if (!menu)
            menu = std::make_unique<QMenu>(parent);
        addUndoEntries(*menu, *stack);
    }
    if (menu)
        view.DrawScene(); // a facility hit may have changed the selection
    return menu;
}

void showContextMenu(DesignView& view, const QPoint& clientPoint)
{
    if (menuOpen)
        return;
    const PickResult hit = pick(view, clientPoint.x(), clientPoint.y());
    QWidget* parent = view.widget();
    std::unique_ptr<QMenu> menu = buildContextMenu(view, hit, parent);
    if (!menu)
        return;
    const QPoint global = parent ? parent->mapToGlobal(clientPoint) : clientPoint;
    const OpenMenu open;
    menu->exec(global);
}

} // namespace vs
