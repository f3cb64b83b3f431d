// The main design dialog's catalogue tabs and lists: one tab per panel catalogue list and the
// 3D tab of facility models, with the combos that filter them.
#include "view/CVantrelSolidView.h"

#include "catalogue/ModuleCatalogues.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "view/CEntityTypeListBox.h"
#include "view/CMyTabCtrl.h"
#include "view/CSolidWnd.h"

#include "ui/ui_MainDesignDialog.h"

#include <QComboBox>
#include <QVariant>

#include <vector>

namespace {

/** The catalogue option under which the classification combo has no "all" entry. */
constexpr int kNoAllEntryOption = 92;
/** Tab data of the 3D tab, which shows facility models rather than a panel list. */
constexpr int kFacilityTab = -1;
const char* const kAll = "全部";

template <typename T> T* entryData(const QComboBox* combo)
{
    return combo->currentIndex() < 0 ? nullptr
                                     : static_cast<T*>(combo->currentData().value<void*>());
}

template <typename T> void addEntry(QComboBox* combo, T* entry)
{
    combo->addItem(QString::fromStdString(entry->name), QVariant::fromValue<void*>(entry));
}

/** A facility category worth a combo entry: it holds models, directly or below, or is the
 *  feature-wall category, which always shows. */
bool hasSomethingToShow(const CFacilityCategory* category)
{
    if (category->id == CFacilityCatalogue::kFeatureWallCategoryId || !category->models.empty())
        return true;
    for (const CFacilityCategory* child : category->children)
        if (child != nullptr && hasSomethingToShow(child))
            return true;
    return false;
}

/** The listed types of `category` and of everything below it, the category's own first. */
void collectListedTypes(const CCandyCategory* category, std::vector<CCommonType*>& out)
{
    for (CCandyType* type : category->types)
        if (type != nullptr && type->listed)
            out.push_back(type);
    for (const CCandyCategory* child : category->children)
        if (child != nullptr)
            collectListedTypes(child, out);
}

} // namespace

void CVantrelSolidView::createTabs()
{
    QTabBar* tabs = ui_->catalogueTabs;
    const QSignalBlocker blocker(tabs);
    auto addTab = [tabs](const char* text, int list) {
        tabs->setTabData(tabs->addTab(QString::fromUtf8(text)), list);
    };
    if (doc_.ceiling && doc_.ceiling->isBand) {
        addTab("条扣板", 1);
        addTab("电器", 3);
    } else {
        addTab("扣板", 0);
        addTab("电器", 2);
        const CCandyKind* art = app_.candies.tabList(4);
        if (art != nullptr && art->listedCount > 0)
            addTab("艺术", 4);
    }
    addTab("三维", kFacilityTab);
    tabs->setCurrentIndex(0);
}

CCandyKind* CVantrelSolidView::activeTabList() const
{
    const QTabBar* tabs = ui_->catalogueTabs;
    const int list = tabs->tabData(tabs->currentIndex()).toInt();
    return list == kFacilityTab ? nullptr : app_.candies.tabList(list);
}

bool CVantrelSolidView::facilityTabActive() const
{
    const QTabBar* tabs = ui_->catalogueTabs;
    return tabs->count() > 0 && tabs->currentIndex() == tabs->count() - 1;
}

void CVantrelSolidView::onTabChanged(int)
{
    showTabControls();
}

void CVantrelSolidView::showTabControls()
{
    if (facilityTabActive()) {
        ui_->catalogueStack->setCurrentWidget(ui_->facilityPage);
    } else {
        ui_->catalogueStack->setCurrentWidget(ui_->panelPage);
        fillClassifications();
    }
}

void CVantrelSolidView::onEntitySelected(CCommonType* item)
{
    if (ui_->catalogueTabs->currentIndex() == 0)
        currentPanelType_ = dynamic_cast<CCandyType*>(item);
}

void CVantrelSolidView::DropEntity(const QPoint& screenPoint, CCommonType* item,
                                   const QSize& imageSize)
{
    if (facilityTabActive()) {
        if (auto* model = dynamic_cast<CFacilityModel*>(item))
            emit facilityModelDropped(screenPoint, model);
    } else if (ui_->catalogueTabs->currentIndex() > 0) {
        if (auto* type = dynamic_cast<CCandyType*>(item))
            emit catalogueItemDropped(screenPoint, type, imageSize);
    }
}

void CVantrelSolidView::fillFacilityCategories()
{
    QComboBox* combo = ui_->facilityCategoryCombo;
    {
        const QSignalBlocker blocker(combo);
        combo->clear();
        for (CFacilityCategory* category : app_.facilities.topCategories())
            if (category != nullptr)
                addEntry(combo, category);
        if (combo->count() > 0)
            combo->setCurrentIndex(0);
    }
    onFacilityCategoryChanged();
}

void CVantrelSolidView::onFacilityCategoryChanged()
{
    QComboBox* combo = ui_->brandCombo;
    {
        const QSignalBlocker blocker(combo);
        combo->clear();
        if (const CFacilityCategory* category =
                entryData<CFacilityCategory>(ui_->facilityCategoryCombo))
            for (CFacilityCategory* brand : category->children)
                if (brand != nullptr && hasSomethingToShow(brand))
                    addEntry(combo, brand);
        if (combo->count() > 0)
            combo->setCurrentIndex(0);
    }
    onBrandChanged();
}

void CVantrelSolidView::onBrandChanged()
{
    QComboBox* combo = ui_->seriesCombo;
    {
        const QSignalBlocker blocker(combo);
        combo->clear();
        if (const CFacilityCategory* brand = entryData<CFacilityCategory>(ui_->brandCombo))
            for (CFacilityCategory* series : brand->children)
                if (series != nullptr && hasSomethingToShow(series))
                    addEntry(combo, series);
        if (combo->count() > 0)
            combo->setCurrentIndex(0);
    }
    fillFacilityList();
}

void CVantrelSolidView::fillFacilityList()
{
    const CFacilityCategory* deepest = entryData<CFacilityCategory>(ui_->seriesCombo);
    if (deepest == nullptr)
        deepest = entryData<CFacilityCategory>(ui_->brandCombo);
    if (deepest == nullptr)
        deepest = entryData<CFacilityCategory>(ui_->facilityCategoryCombo);
    std::vector<CCommonType*> models;
    if (deepest != nullptr)
        models.assign(deepest->models.begin(), deepest->models.end());
    ui_->facilityList->fill(models);
}

void CVantrelSolidView::fillClassifications()
{
    QComboBox* combo = ui_->classificationCombo;
    {
        const QSignalBlocker blocker(combo);
        combo->clear();
        if (app_.catalogueOption != kNoAllEntryOption)
            combo->addItem(QString::fromUtf8(kAll));
        if (const CCandyKind* list = activeTabList())
            for (CCandyCategory* category : list->topCategories)
                if (category != nullptr && category->hasListedTypes())
                    addEntry(combo, category);
        if (combo->count() > 0)
            combo->setCurrentIndex(0);
    }
    onClassificationChanged();
}

void CVantrelSolidView::onClassificationChanged()
{
    QComboBox* combo = ui_->subclassCombo;
    {
        const QSignalBlocker blocker(combo);
        combo->clear();
        combo->addItem(QString::fromUtf8(kAll));
        if (const CCandyCategory* classification =
                entryData<CCandyCategory>(ui_->classificationCombo))
            for (CCandyCategory* child : classification->children)
                if (child != nullptr)
                    addEntry(combo, child);
        combo->setCurrentIndex(0);
    }
    fillPanelList();
}

void CVantrelSolidView::fillPanelList()
{
    std::vector<CCommonType*> items;
    const CCandyCategory* scope = entryData<CCandyCategory>(ui_->subclassCombo);
    if (scope == nullptr)
        scope = entryData<CCandyCategory>(ui_->classificationCombo);
    if (scope != nullptr) {
        collectListedTypes(scope, items);
    } else if (ui_->classificationCombo->currentIndex() >= 0) {
        // "All": every listed type of the tab's list.
        if (const CCandyKind* list = activeTabList())
            for (CCandyType* type : list->types)
                if (type != nullptr && type->listed)
                    items.push_back(type);
    }
    ui_->panelList->fill(items);
}
