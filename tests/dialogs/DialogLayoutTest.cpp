// Every setup dialog laid out on screen: no label, box or button is cut short of the text it
// shows and no two controls overlap, whatever the scale (run with QT_SCALE_FACTOR=2 as well).
// With VS_DIALOG_SHOTS set to a folder, each dialog's picture is written there.
#include "DialogInput.h"
#include "RoomDialogTest.h"

#include "dialogs/CDisplaySetupDialog.h"
#include "dialogs/CLightSetupDialog.h"
#include "dialogs/CMaterialDlg.h"
#include "dialogs/CSelectPictureDlg.h"
#include "dialogs/CSizeDialog.h"
#include "dialogs/CSolidFacilitySetupDialog.h"
#include "dialogs/CUpDown.h"
#include "dialogs/CWallSetupDialog.h"
#include "scene/CRoomSceneNode.h"
#include "scene/FacilityScene.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QSlider>

namespace {

/** The controls a user reads or handles: labels, buttons, fields, lists, sliders and the
 *  up-downs as a whole. */
bool isControl(const QWidget* w)
{
    if (qobject_cast<const CUpDown*>(w->parentWidget()) != nullptr)
        return false;
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QSlider*>(w) || qobject_cast<const CUpDown*>(w);
}

void checkLayout(QDialog& dialog, const char* name)
{
    SCOPED_TRACE(name);
    dialog.show();
    dialog.adjustSize();
    QApplication::processEvents();
    std::vector<QWidget*> controls;
    for (QWidget* w : dialog.findChildren<QWidget*>())
        if (w->isVisible() && isControl(w))
            controls.push_back(w);
    ASSERT_FALSE(controls.empty());
    for (QWidget* w : controls) {
        const QSize hint = w->minimumSizeHint().expandedTo(
            qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ? w->sizeHint()
                                                                          : QSize());
        EXPECT_GE(w->width(), hint.width()) << w->objectName().toStdString() << " is cut";
        EXPECT_GE(w->height(), hint.height()) << w->objectName().toStdString() << " is cut";
    }
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const QRect a(controls[i]->mapTo(&dialog, QPoint()), controls[i]->size());
            const QRect b(controls[j]->mapTo(&dialog, QPoint()), controls[j]->size());
            EXPECT_FALSE(a.intersects(b)) << controls[i]->objectName().toStdString() << " and "
                                          << controls[j]->objectName().toStdString() << " overlap";
        }
    const QString shots = qEnvironmentVariable("VS_DIALOG_SHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        dialog.grab().save(shots + "/" + name + ".png");
    }
}

class DialogLayoutTest : public dialogtest::RoomDialogTest
{
};

} // namespace

TEST_F(DialogLayoutTest, EveryDialogShowsAllItsTextWithoutOverlaps)
{
    CFacilityCatalogue& facilities = CVantrelSolidApp::instance().facilities;
    facilities.addCategory(30, 0, "瓷砖贴图");
    for (int i = 0; i < 3; ++i) {
        FacilityModelInfo info;
        info.id = 6100 + i;
        info.name = "大理石" + std::to_string(i + 1);
        info.kindAndFlags = 3;
        const QByteArray& png =
            dialogtest::pictureBytes(90 - 20 * i, 60, QColor(120 + 40 * i, 90, 60));
        info.pictureData = png.constData();
        info.pictureSize = int(png.size());
        info.categoryId = 30;
        facilities.addModel(info);
    }
    CSolidDocument& doc = openRoom("kitchen.xml");
    auto facility = std::make_unique<CSolidFacility>();
    facility->correctExtent = facility->size = {10000, 20000, 5000};
    CSolidFacility& item = *facility;
    doc.solidFacilities.push_back(std::move(facility));
    vs::buildFacilityNode(item, doc.roomNode, doc);

    CDisplaySetupDialog display(view_.get());
    display.setSolidWnd(wnd_);
    checkLayout(display, "display");
    CLightSetupDialog light(*wnd_, doc.solidLights.front().get(), nullptr, view_.get());
    light.findChild<QComboBox*>("typeCombo")->setCurrentIndex(1);
    checkLayout(light, "light");
    CWallSetupDialog wall(doc, wnd_, view_.get());
    checkLayout(wall, "wall");
    CSolidFacilitySetupDialog properties(*wnd_, item, view_.get());
    checkLayout(properties, "facility");
    CMaterialDlg material(*wnd_, item, CVantrelSolidApp::instance().facilities, view_.get());
    checkLayout(material, "material");
    CSizeDialog tiles(CSizeDialog::Use::WallTiles, 3000, 3000, view_.get());
    checkLayout(tiles, "size-wall-tiles");
    CSizeDialog doors(CSizeDialog::Use::DoorsAndWindows, 9000, 21000, view_.get());
    checkLayout(doors, "size-doors");
    CSelectPictureDlg select(facilities, facilities.topCategories().back(), view_.get());
    auto* pictures = select.findChild<QListWidget*>("pictureList");
    ASSERT_EQ(pictures->count(), 3) << "the starting category's pictures are listed";
    pictures->item(1)->setSelected(true);
    checkLayout(select, "select-picture");
}
