// The context menus of the 3D window: the popup of menu 134 for each kind of object hit, the
// entries greyed where they cannot run, "贴墙" and "保存模型" never offered, the undo and redo
// entries, and the commands the entries run.
#include "MenuTestRoom.h"

#include "edit/ContextMenu.h"
#include "edit/DesignDialogs.h"
#include "edit/FacilityEdits.h"
#include "edit/Selection.h"
#include "scene/FacilityScene.h"

#include <QAction>
#include <QMenu>

namespace menutest {
namespace {

/** Records which dialog an entry opened. */
class RecordingDialogs : public DesignDialogs
{
public:
    void facilityProperties(CSolidFacility&) override { opened << "properties"; }
    void lightSetup(CSolidLight&) override { opened << "light"; }
    void material(CSolidFacility&) override { opened << "material"; }
    void wallTileSize(CWall&, CWallPart&) override { opened << "wall tiles"; }
    void doorWindowSize(CWall&, CFlatFacility&) override { opened << "door size"; }
    void floorTileSize() override { opened << "floor tiles"; }
    QStringList opened;
};

/** The menu's entries as "text" or "text (greyed)", separators left out. */
QStringList entries(const QMenu& menu)
{
    QStringList list;
    for (QAction* action : menu.actions())
        if (!action->isSeparator())
            list << (action->isEnabled() ? action->text() : action->text() + " (greyed)");
    return list;
}

QAction* action(const QMenu& menu, const QString& text)
{
    for (QAction* a : menu.actions())
        if (a->text() == text)
            return a;
    ADD_FAILURE() << "no entry " << text.toStdString();
    return nullptr;
}

class ContextMenuTest : public MenuTestRoom
{
protected:
    void SetUp() override
    {
        MenuTestRoom::SetUp();
        box_ = &boxModel(9201, 1, {-2000, 0, -2000}, {2000, 5000, 2000});
    }

    std::unique_ptr<QMenu> menuFor(const PickResult& hit)
    {
        return vs::buildContextMenu(*wnd_, hit, wnd_.get());
    }

    CFacilityModel* box_ = nullptr;
    RecordingDialogs dialogs_;
};

TEST_F(ContextMenuTest, AFacilityOffersItsCommandsGreyedByWhatItIsAndWhatIsSelected)
{
    CSolidFacility& a = addFacility(*box_, Vec3f{10000, 0, 8000});
    CSolidFacility& b = addFacility(*box_, Vec3f{20000, 0, 8000});
    wnd_->selection().selectOnly(b);

    // Without dialogs their entries are greyed; a lone free facility cannot be unstuck or
    // grouped. The facility hit becomes the selection.
    std::unique_ptr<QMenu> menu = menuFor(facilityHit(a));
    ASSERT_TRUE(menu);
    EXPECT_EQ(entries(*menu).mid(0, 10),
              (QStringList{"删除", "左转90度", "右转90度", "解除贴墙 (greyed)", "贴地", "贴顶",
                           "属性 (greyed)", "组合 (greyed)", "解散", "材质 (greyed)"}));
    EXPECT_EQ(wnd_->selection().items(), (std::vector<CSolidFacility*>{&a}));

    wnd_->setDialogs(&dialogs_);
    vs::stickFacilityToWall(a, 0, 9000, doc_->walls[0].get(), *doc_);
    wnd_->selection().add(b);
    menu = menuFor(facilityHit(a)); // already selected: the selection stays
    EXPECT_EQ(wnd_->selection().size(), 2u);
    EXPECT_EQ(entries(*menu).mid(0, 10),
              (QStringList{"删除", "左转90度", "右转90度", "解除贴墙", "贴地", "贴顶", "属性",
                           "组合", "解散", "材质"}));
    action(*menu, "属性")->trigger();
    action(*menu, "材质")->trigger();
    EXPECT_EQ(dialogs_.opened, (QStringList{"properties", "material"}));

    action(*menu, "组合")->trigger();
    ASSERT_EQ(doc_->solidFacilities.size(), 1u);
    EXPECT_TRUE(doc_->solidFacilities.front()->isGroup());
}

TEST_F(ContextMenuTest, EntriesRunTheirCommandsAsStepsTheMenuOffersToUndo)
{
    CSolidFacility& a = addFacility(*box_, Vec3f{10000, 0, 8000});
    std::unique_ptr<QMenu> menu = menuFor(facilityHit(a));
    EXPECT_EQ(entries(*menu).mid(10), (QStringList{"撤销 (greyed)", "重做 (greyed)"}));
    action(*menu, "左转90度")->trigger();
    EXPECT_FLOAT_EQ(a.rotateDegree, 90);

    menu = menuFor(facilityHit(a));
    action(*menu, "右转90度")->trigger();
    action(*menu, "贴顶")->trigger();
    EXPECT_FLOAT_EQ(a.rotateDegree, 0);
    EXPECT_FLOAT_EQ(a.position.y, 24000 - 5000);

    // Nothing hit: the menu still offers to take the last step back.
    menu = menuFor(PickResult());
    ASSERT_TRUE(menu);
    EXPECT_EQ(entries(*menu), (QStringList{"撤销 贴顶", "重做 (greyed)"}));
    action(*menu, "撤销 贴顶")->trigger();
    EXPECT_FLOAT_EQ(a.position.y, 0);
    menu = menuFor(PickResult());
    EXPECT_EQ(entries(*menu), (QStringList{"撤销 右转90度", "重做 贴顶"}));

    menu = menuFor(facilityHit(a));
    action(*menu, "删除")->trigger();
    EXPECT_TRUE(doc_->solidFacilities.empty());
    EXPECT_TRUE(wnd_->selection().empty());
}

TEST_F(ContextMenuTest, LightsWallsDoorsAndTheFloorHaveTheirOwnPopups)
{
    wnd_->setDialogs(&dialogs_);
    ASSERT_FALSE(doc_->solidLights.empty());
    CSolidLight& main = *doc_->solidLights.front();
    main.isMain = true;
    std::unique_ptr<QMenu> menu = menuFor(markerHit(main));
    EXPECT_EQ(entries(*menu).mid(0, 2), (QStringList{"删除 (greyed)", "属性"}));
    action(*menu, "属性")->trigger();

    CWall& wall = *doc_->walls[0];
    menu = menuFor(wallHit(wall, 10000, 5000));
    EXPECT_EQ(entries(*menu).mid(0, 2), (QStringList{"瓷砖尺寸", "当前选择物体贴墙 (greyed)"}));
    action(*menu, "瓷砖尺寸")->trigger();

    CSolidFacility& a = addFacility(*box_, Vec3f{10000, 3000, 8000});
    wnd_->selection().selectOnly(a);
    menu = menuFor(wallHit(wall, 12000, 5000));
    action(*menu, "当前选择物体贴墙")->trigger();
    EXPECT_EQ(a.stickWall, &wall);
    EXPECT_FLOAT_EQ(a.position.x, 12000);
    EXPECT_FLOAT_EQ(a.position.y, 3000);

    auto flat = std::make_unique<CFlatFacility>();
    flat->flatSize = IntSize{9000, 20000};
    flat->position = RPoint{20000, -20000};
    CFlatFacility* door = flat.get();
    wall.flatFacilities.push_back(std::move(flat));
    PickResult onDoor = wallHit(wall, 22000, 5000);
    onDoor.flat = door;
    menu = menuFor(onDoor);
    EXPECT_EQ(entries(*menu).mid(0, 3), (QStringList{"删除", "门窗尺寸", "当前选择物体贴墙"}));
    action(*menu, "门窗尺寸")->trigger();
    action(*menu, "删除")->trigger();
    EXPECT_TRUE(wall.flatFacilities.empty());
    stack_->undo();
    ASSERT_EQ(wall.flatFacilities.size(), 1u);
    EXPECT_EQ(wall.flatFacilities.front().get(), door);

    menu = menuFor(floorHit({10000, 0, 8000}));
    EXPECT_EQ(entries(*menu).front(), QStringLiteral("地砖尺寸"));
    action(*menu, "地砖尺寸")->trigger();
    EXPECT_EQ(dialogs_.opened, (QStringList{"light", "wall tiles", "door size", "floor tiles"}));
}

TEST_F(ContextMenuTest, AUserLightIsDeletedAndComesBack)
{
    setSimpleLighting(false);
    auto light = std::make_unique<CSolidLight>(doc_);
    light->position = Vec3f{10000, 20000, 8000};
    CSolidLight* l = light.get();
    doc_->solidLights.push_back(std::move(light));
    const std::string start = written();
    std::unique_ptr<QMenu> menu = menuFor(markerHit(*l));
    action(*menu, "删除")->trigger();
    EXPECT_EQ(std::count_if(doc_->solidLights.begin(), doc_->solidLights.end(),
                            [l](const auto& x) { return x.get() == l; }),
              0);
    stack_->undo();
    EXPECT_EQ(written(), start);
    EXPECT_EQ(doc_->solidLights.back().get(), l);
}

} // namespace
} // namespace menutest
