// The design dialog's catalogue side: the tabs per ceiling kind, the combo cascades, dragging
// items out of the lists and the lists' popups.
#include "DialogTestFixture.h"

#include "document/SolidCeiling.h"

#include <QMenu>
#include <QRadioButton>
#include <QTabBar>

using dialogtest::DialogTest;
using dialogtest::hostLog;

namespace {

QStringList tabTexts(const QTabBar* tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

QStringList utf8(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* t : texts)
        list << QString::fromUtf8(t);
    return list;
}

QPoint centreOf(const CEntityTypeListBox* list, int row)
{
    return list->visualItemRect(list->item(row)).center();
}

} // namespace

TEST_F(DialogTest, TabsFollowTheCeilingKindWithTheArtTabOnlyForArtItems)
{
    openDialog(false);
    auto* tabs = child<QTabBar>("catalogueTabs");
    EXPECT_EQ(tabTexts(tabs), utf8({"扣板", "电器", "三维"}));
    view_.reset();

    addPanel(CVantrelSolidApp::instance().candies, 201, "艺术花", 6, 0, 3000, 3000, true);
    openDialog(false);
    tabs = child<QTabBar>("catalogueTabs");
    EXPECT_EQ(tabTexts(tabs), utf8({"扣板", "电器", "艺术", "三维"}));
    view_.reset();

    CSolidDocument& doc = *vs::currentDocument();
    if (!doc.ceiling)
        doc.ceiling = std::make_unique<SolidCeiling>();
    doc.ceiling->isBand = true;
    openDialog(false);
    tabs = child<QTabBar>("catalogueTabs");
    EXPECT_EQ(tabTexts(tabs), utf8({"条扣板", "电器", "三维"}));
}

TEST_F(DialogTest, TabsHaveTheirSetHeightAndTheBackgroundIsTheTiledPattern)
{
    CVantrelSolidView& view = openDialog(false);
    auto* tabs = child<QTabBar>("catalogueTabs");
    view.show();
    dialogtest::wait(20);
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_EQ(tabs->tabRect(i).height(), 17) << i;
        EXPECT_GE(tabs->tabRect(i).width(), 35) << i;
    }
    // Texts wider than the least width widen their tab rather than being cut.
    const int natural = tabs->fontMetrics().horizontalAdvance(tabs->tabText(0));
    EXPECT_GE(tabs->tabRect(0).width(), natural);

    // The dialog's own background is the pattern, tiled from its corner; the controls' faces
    // keep their colours.
    const QImage pattern = view.backgroundPattern().toImage();
    ASSERT_EQ(pattern.size(), QSize(48, 48));
    const QImage shot = view.grab().toImage();
    const QPoint gap(view.width() - 3, view.height() - 3); // right of and below everything
    EXPECT_EQ(shot.pixel(gap), pattern.pixel(gap.x() % 48, gap.y() % 48));
    const QImage tabFace = tabs->grab(tabs->tabRect(0)).toImage();
    EXPECT_GT(qGray(tabFace.pixel(tabFace.width() / 2, 2)), 128);
}

TEST_F(DialogTest, LastTabShowsTheModelControlsAndTheOthersThePanelControls)
{
    CVantrelSolidView& view = openDialog();
    auto* tabs = child<QTabBar>("catalogueTabs");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(child<QComboBox>("classificationCombo")->isVisible());
    EXPECT_FALSE(child<QComboBox>("facilityCategoryCombo")->isVisible());
    tabs->setCurrentIndex(tabs->count() - 1);
    EXPECT_TRUE(view.facilityTabActive());
    EXPECT_EQ(view.activeTabList(), nullptr);
    EXPECT_FALSE(child<QComboBox>("classificationCombo")->isVisible());
    EXPECT_TRUE(child<QComboBox>("facilityCategoryCombo")->isVisible());
    EXPECT_TRUE(child<CEntityTypeListBox>("facilityList")->isVisible());

    // The appliance tab has its own list: the appliance without a category under "all".
    tabs->setCurrentIndex(1);
    EXPECT_EQ(view.activeTabList(), CVantrelSolidApp::instance().candies.tabList(2));
    EXPECT_EQ(names(child<CEntityTypeListBox>("panelList")), utf8({"排风扇"}));
}

TEST_F(DialogTest, ClassificationsSkipCategoriesWithoutListedTypesAndStartWithAll)
{
    openDialog(false);
    auto* classification = child<QComboBox>("classificationCombo");
    auto* subclass = child<QComboBox>("subclassCombo");
    auto* list = child<CEntityTypeListBox>("panelList");

    EXPECT_EQ(entries(classification), utf8({"全部", "铝扣板"}));
    EXPECT_EQ(classification->currentIndex(), 0);
    EXPECT_EQ(entries(subclass), utf8({"全部"}));
    // "All" of the tab: every listed type, the unlisted one left out.
    EXPECT_EQ(names(list), utf8({"方板300", "长板600"}));

    classification->setCurrentIndex(1);
    EXPECT_EQ(entries(subclass), utf8({"全部", "方板"}));
    EXPECT_EQ(subclass->currentIndex(), 0);
    EXPECT_EQ(names(list), utf8({"长板600", "方板300"})) << "the category's own, then below";

    subclass->setCurrentIndex(1);
    EXPECT_EQ(names(list), utf8({"方板300"}));
}

TEST_F(DialogTest, CatalogueOption92LeavesOutTheAllEntry)
{
    CVantrelSolidApp::instance().catalogueOption = 92;
    openDialog(false);
    auto* classification = child<QComboBox>("classificationCombo");
    EXPECT_EQ(entries(classification), utf8({"铝扣板"}));
    EXPECT_EQ(classification->currentIndex(), 0);
    EXPECT_EQ(names(child<CEntityTypeListBox>("panelList")), utf8({"长板600", "方板300"}));

    // A tab with nothing categorised has an empty combo and an empty list under option 92.
    child<QTabBar>("catalogueTabs")->setCurrentIndex(1);
    EXPECT_EQ(classification->count(), 0);
    EXPECT_EQ(child<CEntityTypeListBox>("panelList")->count(), 0);
}

TEST_F(DialogTest, FacilityCombosCascadeAndSkipBrandsWithNothingToShow)
{
    openDialog(false);
    auto* category = child<QComboBox>("facilityCategoryCombo");
    auto* brand = child<QComboBox>("brandCombo");
    auto* series = child<QComboBox>("seriesCombo");
    auto* list = child<CEntityTypeListBox>("facilityList");

    EXPECT_EQ(entries(category), utf8({"光源", "家电"}));
    EXPECT_EQ(brand->count(), 0);
    // The built-in bulb "灯泡.jpg" is labelled without its file extension.
    EXPECT_EQ(names(list), utf8({"灯泡"})) << "the category itself is the deepest level";

    category->setCurrentIndex(1);
    // The empty brand is skipped; the feature-wall category always shows.
    EXPECT_EQ(entries(brand), utf8({"品牌A", "电视背景墙"}));
    EXPECT_EQ(entries(series), utf8({"系列X"}));
    EXPECT_EQ(names(list), utf8({"冰箱", "电视"}));

    brand->setCurrentIndex(1);
    EXPECT_EQ(series->count(), 0);
    EXPECT_EQ(list->count(), 0);
    brand->setCurrentIndex(0);
    EXPECT_EQ(names(list), utf8({"冰箱", "电视"}));
}

TEST_F(DialogTest, ListDragStartsOnlyBeyondFivePixelsAndDropsTheModel)
{
    CVantrelSolidView& view = openDialog();
    auto* tabs = child<QTabBar>("catalogueTabs");
    tabs->setCurrentIndex(tabs->count() - 1);
    child<QComboBox>("facilityCategoryCombo")->setCurrentIndex(1);
    auto* list = child<CEntityTypeListBox>("facilityList");
    QWidget* port = list->viewport();
    std::vector<std::pair<QPoint, CFacilityModel*>> drops;
    QObject::connect(
        &view, &CVantrelSolidView::facilityModelDropped,
        [&drops](const QPoint& at, CFacilityModel* model) { drops.emplace_back(at, model); });
    const QPoint p = centreOf(list, 1);

    dialogtest::mousePress(port, Qt::LeftButton, p);
    EXPECT_EQ(list->selectedEntity(), list->entityAt(1));
    dialogtest::mouseMove(port, p + QPoint(5, 5));
    dialogtest::mouseMove(port, p + QPoint(-5, -5));
    EXPECT_FALSE(list->isDragging());
    dialogtest::mouseRelease(port, Qt::LeftButton, p + QPoint(-5, -5));
    EXPECT_TRUE(drops.empty());

    dialogtest::mousePress(port, Qt::LeftButton, p);
    dialogtest::mouseMove(port, p + QPoint(0, 6));
    EXPECT_TRUE(list->isDragging());
    ASSERT_NE(list->dragImage(), nullptr);
    EXPECT_TRUE(list->dragImage()->isVisible());
    const QPoint to = p + QPoint(300, 40);
    dialogtest::mouseMove(port, to);
    EXPECT_EQ(list->dragImage()->geometry().center(), port->mapToGlobal(to));
    dialogtest::mouseRelease(port, Qt::LeftButton, to);
    EXPECT_FALSE(list->isDragging());
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].first, port->mapToGlobal(to));
    EXPECT_EQ(drops[0].second, list->entityAt(1));
}

TEST_F(DialogTest, PanelDropsPlaceOnlyFromTheLaterTabsAndTheFirstTabSetsThePanelType)
{
    CVantrelSolidView& view = openDialog();
    struct Drop
    {
        CCandyType* item;
        QSize imageSize;
    };
    std::vector<Drop> drops;
    QObject::connect(&view, &CVantrelSolidView::catalogueItemDropped,
                     [&drops](const QPoint&, CCandyType* item, const QSize& size) {
                         drops.push_back({item, size});
                     });
    auto* list = child<CEntityTypeListBox>("panelList");
    QWidget* port = list->viewport();
    auto drag = [&] {
        const QPoint p = centreOf(list, 0);
        dialogtest::mousePress(port, Qt::LeftButton, p);
        dialogtest::mouseMove(port, p + QPoint(20, 0));
        dialogtest::mouseRelease(port, Qt::LeftButton, p + QPoint(20, 0));
    };

    drag();
    EXPECT_TRUE(drops.empty()) << "the first tab lays panels, it does not drop them";
    EXPECT_EQ(view.currentPanelType(), list->entityAt(0));

    child<QTabBar>("catalogueTabs")->setCurrentIndex(1);
    drag();
    ASSERT_EQ(drops.size(), 1u);
    CCandyType* dropped = drops[0].item;
    EXPECT_EQ(dropped->id, 104);
    EXPECT_EQ(drops[0].imageSize, list->shownPictureSize(dropped));
    EXPECT_NE(view.currentPanelType(), dropped) << "only the first tab sets the panel type";
}

TEST_F(DialogTest, PressingAListSwitchesToDesignWithTheGlobeInsteadOfChangeTop)
{
    CVantrelSolidView& view = openDialog();
    vs::currentDocument()->staticSolidSampleId = 4;
    child<QRadioButton>("changeTopRadio")->click();
    ASSERT_EQ(view.solidWnd()->viewMode(), 6);
    auto* list = child<CEntityTypeListBox>("panelList");
    dialogtest::mouseClick(list->viewport(), Qt::LeftButton, centreOf(list, 0));
    EXPECT_TRUE(child<QRadioButton>("designRadio")->isChecked());
    EXPECT_EQ(view.solidWnd()->workMode(), 5);
    EXPECT_EQ(view.solidWnd()->viewMode(), 4);
}

TEST_F(DialogTest, ModelPopupMovesToTheFeatureWallAndOutOfEveryCategory)
{
    openDialog();
    auto* tabs = child<QTabBar>("catalogueTabs");
    tabs->setCurrentIndex(tabs->count() - 1);
    child<QComboBox>("facilityCategoryCombo")->setCurrentIndex(1);
    auto* list = child<CEntityTypeListBox>("facilityList");
    CFacilityCatalogue& facilities = CVantrelSolidApp::instance().facilities;
    auto popupAction = [&](int row, const char* name) {
        dialogtest::mouseClick(list->viewport(), Qt::RightButton, centreOf(list, row));
        QMenu* menu = list->lastPopup();
        EXPECT_NE(menu, nullptr);
        QAction* action = menu ? menu->findChild<QAction*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(action, nullptr) << name;
        if (menu)
            menu->hide();
        return action;
    };

    popupAction(0, "featureWallAction")->trigger();
    ASSERT_EQ(hostLog().setModelCategory.size(), 1u);
    EXPECT_EQ(hostLog().setModelCategory[0], std::make_pair(5001, 223));
    EXPECT_EQ(facilities.findModel(5001)->category, facilities.findCategory(223));
    EXPECT_EQ(names(list), utf8({"电视"}));
    EXPECT_EQ(list->items().size(), 1u);

    popupAction(0, "removeFromCategoryAction")->trigger();
    ASSERT_EQ(hostLog().setModelCategory.size(), 2u);
    EXPECT_EQ(hostLog().setModelCategory[1], std::make_pair(5004, 0));
    EXPECT_EQ(facilities.findModel(5004)->category, nullptr);
    EXPECT_EQ(list->count(), 0);

    // In the feature-wall category already: the host is not told and the model stays listed.
    child<QComboBox>("brandCombo")->setCurrentIndex(1);
    ASSERT_EQ(names(list), utf8({"冰箱"}));
    popupAction(0, "featureWallAction")->trigger();
    EXPECT_EQ(hostLog().setModelCategory.size(), 2u);
    EXPECT_EQ(list->count(), 1);
}

TEST_F(DialogTest, PanelPopupTurnsTheItemAndItsHeightFollows)
{
    openDialog();
    auto* list = child<CEntityTypeListBox>("panelList");
    ASSERT_EQ(list->item(1)->text(), QString::fromUtf8("长板600"));
    const int flatHeight = list->visualItemRect(list->item(1)).height();
    dialogtest::mouseClick(list->viewport(), Qt::RightButton, centreOf(list, 1));
    QMenu* menu = list->lastPopup();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->findChild<QAction*>("featureWallAction"), nullptr);
    menu->findChild<QAction*>("rotateLeftAction")->trigger();
    menu->hide();

    auto* type = dynamic_cast<CCandyType*>(list->entityAt(1));
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->rotation(), 90);
    EXPECT_EQ(list->selectedEntity(), type) << "re-inserted and re-selected";
    QApplication::processEvents();
    // 6000 x 3000 shows as 100 x 50 pixels; turned it stands 100 high.
    EXPECT_EQ(list->visualItemRect(list->item(1)).height(), flatHeight + 50);

    menu->findChild<QAction*>("rotateRightAction")->trigger();
    EXPECT_EQ(type->rotation(), 0);
}

TEST_F(DialogTest, ScreenshotOfTheDialog)
{
    CVantrelSolidView& view = openDialog();
    child<QComboBox>("classificationCombo")->setCurrentIndex(1);
    auto* list = child<CEntityTypeListBox>("panelList");
    list->setCurrentRow(0);
    dialogtest::wait(50);
    const QPixmap shot = view.grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save("/tmp/w2-design-dialog.png"));
}
