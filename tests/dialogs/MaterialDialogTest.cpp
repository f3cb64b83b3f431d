// The picture selection dialog's category tree and icon list, and the material dialog on a
// facility whose mesh has two buffers: default records, a chosen picture, "默认图片", the
// up-downs, Cancel and the undo step of OK.
#include "DialogInput.h"
#include "RoomDialogTest.h"

#include "catalogue/CFacilityModel.h"
#include "dialogs/CMaterialDlg.h"
#include "dialogs/CSelectPictureDlg.h"
#include "dialogs/CUpDown.h"
#include "scene/CRoomSceneNode.h"
#include "scene/FacilityScene.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QUndoStack>

#include <irrlicht.h>

using dialoginput::typeInto;

namespace {

constexpr int kPictureCategory = 30;
constexpr int kPictureModel = 6002;
constexpr int kMeshModel = 6001;

class MaterialTest : public dialogtest::RoomDialogTest
{
protected:
    void SetUp() override
    {
        RoomDialogTest::SetUp();
        CFacilityCatalogue& facilities = CVantrelSolidApp::instance().facilities;
        facilities.addCategory(kPictureCategory, 0, "贴图");
        facilities.addCategory(kPictureCategory + 1, kPictureCategory, "木纹");
        addPictureModel(kPictureModel, "橡木", 3, kPictureCategory + 1);
        addPictureModel(kPictureModel + 1, "隐藏", 1, kPictureCategory + 1);
        addPictureModel(kMeshModel, "沙发", 2, 0);
        openRoom("kitchen.xml");
        meshModel_ = facilities.findModel(kMeshModel);
        ASSERT_NE(meshModel_, nullptr);
        meshModel_->setMesh(twoBufferMesh());
        auto facility = std::make_unique<CSolidFacility>();
        facility->facilityModel = meshModel_;
        facility->size = {10000, 10000, 10000};
        facility_ = facility.get();
        doc_->solidFacilities.push_back(std::move(facility));
        vs::buildFacilityNode(*facility_, doc_->roomNode, *doc_);
        ASSERT_NE(vs::facilityMesh(*facility_), nullptr);
    }

    void TearDown() override
    {
        setup_.reset();
        RoomDialogTest::TearDown();
    }

    static void addPictureModel(int id, const char* name, int kind, int category)
    {
        FacilityModelInfo info;
        info.id = id;
        info.name = name;
        info.kindAndFlags = kind;
        const QByteArray& png = dialogtest::pictureBytes(80, 40, QColor(160, 110, 60));
        info.pictureData = png.constData();
        info.pictureSize = int(png.size());
        info.categoryId = category;
        CVantrelSolidApp::instance().facilities.addModel(info);
    }

    /** Two one-triangle buffers, each with a texture of its own; the model keeps it. */
    irr::scene::IMesh* twoBufferMesh()
    {
        irr::video::IVideoDriver* driver = wnd_->device()->getVideoDriver();
        auto* mesh = new irr::scene::SMesh;
        for (int i = 0; i < 2; ++i) {
            auto* buffer = new irr::scene::SMeshBuffer;
            for (int v = 0; v < 3; ++v)
                buffer->Vertices.push_back(
                    irr::video::S3DVertex(float(v == 1), float(v == 2), float(i), 0, 0, 1,
                                          irr::video::SColor(255, 255, 255, 255), 0, 0));
            for (irr::u16 v = 0; v < 3; ++v)
                buffer->Indices.push_back(v);
            buffer->recalculateBoundingBox();
            buffer->Material.setTexture(
                0, driver->addTexture(irr::core::dimension2du(4, 4), i == 0 ? "own0" : "own1"));
            mesh->addMeshBuffer(buffer);
            buffer->drop();
        }
        mesh->recalculateBoundingBox();
        meshKept_.reset(mesh, [](irr::scene::SMesh* m) { m->drop(); });
        return mesh;
    }

    CMaterialDlg& openSetup()
    {
        setup_ = std::make_unique<CMaterialDlg>(
            *wnd_, *facility_, CVantrelSolidApp::instance().facilities, view_.get());
        setup_->show();
        dialoginput::activate(setup_.get());
        return *setup_;
    }

    template <typename T> T* field(const char* name)
    {
        T* found = setup_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    irr::video::ITexture* shownTexture(int buffer) const
    {
        return vs::facilityMesh(*facility_)->getMeshBuffer(buffer)->getMaterial().getTexture(0);
    }

    CFacilityModel* meshModel_ = nullptr;
    CSolidFacility* facility_ = nullptr;
    std::shared_ptr<irr::scene::SMesh> meshKept_;
    std::unique_ptr<CMaterialDlg> setup_;
};

/** Picks the picture `name` in the selection dialog once it runs, or only a category. */
void pickPicture(const char* name)
{
    dialoginput::whenModal([name](QWidget* dialog) {
        auto* tree = dialog->findChild<QTreeWidget*>("categoryTree");
        tree->setCurrentItem(tree->topLevelItem(0)->child(0));
        auto* list = dialog->findChild<QListWidget*>("pictureList");
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text() == QString::fromUtf8(name))
                list->item(i)->setSelected(true);
        dialog->findChild<QPushButton*>("okButton")->click();
    });
}

} // namespace

TEST_F(MaterialTest, PictureTreeShowsOnlyCategoriesHoldingPictures)
{
    CSelectPictureDlg select(CVantrelSolidApp::instance().facilities, nullptr);
    auto* tree = select.findChild<QTreeWidget*>("categoryTree");
    ASSERT_EQ(tree->topLevelItemCount(), 1) << "kinds 0 and 1 are not pictures";
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "贴图");
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    auto* list = select.findChild<QListWidget*>("pictureList");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "橡木");
    EXPECT_EQ(list->iconSize(), QSize(50, 50));

    select.findChild<QPushButton*>("okButton")->click();
    EXPECT_EQ(select.chosenModel(), nullptr) << "a category but no picture";
    ASSERT_NE(select.chosenCategory(), nullptr);
    EXPECT_EQ(select.chosenCategory()->name, "木纹");

    list->item(0)->setSelected(true);
    select.findChild<QPushButton*>("okButton")->click();
    ASSERT_NE(select.chosenModel(), nullptr);
    EXPECT_EQ(select.chosenModel()->id, kPictureModel);
}

TEST_F(MaterialTest, FacilityWithoutMaterialsOpensWithADefaultRecordPerBuffer)
{
    openSetup();
    auto* combo = field<QComboBox>("bufferCombo");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), "1");
    ASSERT_EQ(setup_->materials().size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(setup_->materials()[i].index, i);
        EXPECT_EQ(setup_->materials()[i].facilityModelId, 0);
        EXPECT_EQ(setup_->materials()[i].scaleX, 1);
    }
    EXPECT_EQ(field<QLineEdit>("scaleXEdit")->text(), "1.00");
    EXPECT_EQ(field<QLineEdit>("rotateEdit")->text(), "0");
}

TEST_F(MaterialTest, ChosenPictureIsPreviewedAndDefaultPictureGoesBack)
{
    openSetup();
    field<QComboBox>("bufferCombo")->setCurrentIndex(1);
    pickPicture("橡木");
    field<QPushButton>("choosePictureButton")->click();
    EXPECT_EQ(setup_->materials()[1].facilityModelId, kPictureModel);
    EXPECT_TRUE(vs::ownsFacilityMesh(*facility_)) << "previewed on the facility's own mesh copy";
    EXPECT_NE(shownTexture(1),
              meshModel_->mesh(nullptr)->getMeshBuffer(1)->getMaterial().getTexture(0));
    EXPECT_FALSE(field<QLabel>("previewFrame")->pixmap().isNull());

    field<CUpDown>("offsetXUpDown")->step(-1);
    EXPECT_EQ(field<QLineEdit>("offsetXEdit")->text(), "0.01");
    field<CUpDown>("rotateUpDown")->step(-1);
    EXPECT_EQ(setup_->materials()[1].rotate, 1);

    field<QPushButton>("defaultPictureButton")->click();
    EXPECT_EQ(setup_->materials()[1].facilityModelId, 0);
    EXPECT_EQ(shownTexture(1)->getName().getPath(), "own1");
    field<QPushButton>("okButton")->click();
    ASSERT_EQ(facility_->customMaterials.size(), 2u);
    EXPECT_EQ(facility_->customMaterials[1]->facilityModelId, 0);
    EXPECT_FLOAT_EQ(facility_->customMaterials[1]->offsetX, 0.01f);
}

TEST_F(MaterialTest, ChoosingACategoryWithoutAPictureClearsThePicture)
{
    openSetup();
    pickPicture("橡木");
    field<QPushButton>("choosePictureButton")->click();
    ASSERT_EQ(setup_->materials()[0].facilityModelId, kPictureModel);
    pickPicture("nothing");
    field<QPushButton>("choosePictureButton")->click();
    EXPECT_EQ(setup_->materials()[0].facilityModelId, 0);
    EXPECT_EQ(setup_->materials()[0].facilityModel, nullptr);
}

TEST_F(MaterialTest, CancelAfterPreviewsLeavesTheFacilityAsBefore)
{
    const std::string before = written();
    irr::scene::IMesh* shared = vs::facilityMesh(*facility_);
    openSetup();
    pickPicture("橡木");
    field<QPushButton>("choosePictureButton")->click();
    typeInto(field<QLineEdit>("scaleYEdit"), "2.5");
    EXPECT_EQ(setup_->materials()[0].scaleY, 2.5f);
    field<QPushButton>("cancelButton")->click();
    EXPECT_EQ(written(), before);
    EXPECT_TRUE(facility_->customMaterials.empty());
    EXPECT_FALSE(vs::ownsFacilityMesh(*facility_));
    EXPECT_EQ(vs::facilityMesh(*facility_), shared) << "back on the model's shared mesh";
}

TEST_F(MaterialTest, OkIsOneUndoStep)
{
    const std::string before = written();
    QUndoStack stack;
    dialoginput::whenModal([](QWidget* dialog) {
        pickPicture("橡木");
        dialog->findChild<QPushButton*>("choosePictureButton")->click();
        dialog->findChild<QPushButton*>("okButton")->click();
    });
    ASSERT_TRUE(vs::runMaterialDialog(*wnd_, *facility_, &stack, view_.get()));
    ASSERT_EQ(stack.count(), 1);
    const std::string accepted = written();
    EXPECT_NE(accepted, before);
    stack.undo();
    EXPECT_EQ(written(), before);
    EXPECT_FALSE(vs::ownsFacilityMesh(*facility_));
    stack.redo();
    EXPECT_EQ(written(), accepted);
    EXPECT_TRUE(vs::ownsFacilityMesh(*facility_));
}
