// The reference host's design run used as a person uses it, on a real X server: the kitchen
// opened, a fridge dragged from the 3D list onto the floor, moved, turned through its context
// menu, the dialog closed; the saved design has the fridge, and the next run shows it where it
// was left. The dialog comes from the module the host loads; the test reaches it only through
// Qt (object names, buttons, lists and events), as a person reaches it through the screen.
#include "CataloguePack.h"
#include "HomeDirectory.h"
#include "HostDesign.h"
#include "HostSession.h"
#include "ModelOverrides.h"
#include "ModuleExports.h"

#include "XcbTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kSource = VS_TEST_SOURCE_DIR;

std::string scratch(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("vs-edit-e2e-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return (dir / name).string();
}

void send(QWidget* widget, QEvent::Type type, QPoint global, Qt::MouseButton button,
          Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(widget->mapFromGlobal(global)), QPointF(global), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

/** Presses at `from`, moves in ten steps to `to` and releases there, all sent to `widget` (which
 *  holds the mouse from the press on, as the window system would have it). */
void drag(QWidget* widget, QPoint from, QPoint to)
{
    send(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int i = 1; i <= 10; ++i)
        send(widget, QEvent::MouseMove, from + (to - from) * i / 10, Qt::NoButton, Qt::LeftButton);
    send(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
}

/** Opens the 3D window's context menu at `global` and returns its entries' texts; triggers the
 *  entry `choose` when it is there, else closes the menu. */
std::vector<QString> contextMenu(QWidget* wnd, QPoint global, const QString& choose = {})
{
    std::vector<QString> entries;
    QTimer reader; // stopped with this scope when no menu opened
    reader.setSingleShot(true);
    QObject::connect(&reader, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            entries.push_back(action->text());
            if (!choose.isEmpty() && action->text() == choose && action->isEnabled())
                chosen = action;
        }
        if (chosen != nullptr)
            chosen->trigger();
        menu->close();
    });
    reader.start(100);
    QContextMenuEvent event(QContextMenuEvent::Mouse, wnd->mapFromGlobal(global), global);
    QApplication::sendEvent(wnd, &event);
    QApplication::processEvents();
    return entries;
}

bool has(const std::vector<QString>& entries, const char* text)
{
    return std::find(entries.begin(), entries.end(), QString::fromUtf8(text)) != entries.end();
}

/** Runs `script` on the design dialog once it is shown, then closes it. */
void whenDialogShown(const std::function<void(QWidget& dialog)>& script)
{
    auto* poll = new QTimer;
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, [poll, script] {
        QWidget* dialog = QApplication::activeModalWidget();
        QWidget* wnd = dialog ? dialog->findChild<QWidget*>(QStringLiteral("solidWnd")) : nullptr;
        if (wnd == nullptr || !wnd->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog->windowHandle()));
        QTest::qWait(500); // the engine's first frames
        script(*dialog);
        dialog->close();
    });
    poll->start();
}

class DesignSession
{
public:
    DesignSession()
        : session(vhost::ModuleExports::load(VS_LIBRARY_PATH),
                  vhost::CataloguePack::load(kSource + "/data/pack/index.xml"),
                  vhost::ModelOverrides::load(scratch("ov.xml")))
    {
        const std::string pack = kSource + "/data/pack/index.xml";
        session.pour(vhost::prepareHomeDirectory(scratch("home"), vhost::programDirectory(), pack));
    }
    vhost::HostSession session;
};

/** The fridges (model 5201) of a written solid element: their positions and rotations. */
std::vector<std::pair<std::string, std::string>> fridges(const std::string& solid)
{
    pugi::xml_document doc;
    doc.load_string(solid.c_str());
    std::vector<std::pair<std::string, std::string>> found;
    for (const pugi::xpath_node& node :
         doc.select_nodes("//*[@_fv='5201' or @facilityModelId='5201']"))
        found.emplace_back(node.node().attribute("_cn").value(),
                           node.node().attribute("_as").value());
    return found;
}

} // namespace

TEST(DesignEditingEndToEndTest, AFridgeDroppedMovedAndTurnedIsSavedAndShownWhereItWasLeft)
{
    if (!xcbtest::onX())
        GTEST_SKIP() << "needs the xcb platform";
    DesignSession host;
    vhost::HostDesign design = vhost::HostDesign::load(kSource + "/data/designs/kitchen.xml");
    const size_t fridgesBefore = fridges(design.solidText()).size();

    QPoint dropped;
    QPoint left;
    std::vector<QString> atLeft;
    std::vector<QString> atDrop;
    whenDialogShown([&](QWidget& dialog) {
        dialog.findChild<QAbstractButton*>(QStringLiteral("designRadio"))->click();
        auto* tabs = dialog.findChild<QTabBar*>(QStringLiteral("catalogueTabs"));
        tabs->setCurrentIndex(tabs->count() - 1); // "三维"
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("facilityList"));
        // The list shows one category at a time: the first that has the fridge.
        auto* categories = dialog.findChild<QComboBox*>(QStringLiteral("facilityCategoryCombo"));
        QList<QListWidgetItem*> items;
        for (int c = 0; c < categories->count() && items.isEmpty(); ++c) {
            categories->setCurrentIndex(c);
            items = list->findItems(QStringLiteral("Fridge"), Qt::MatchContains);
        }
        ASSERT_FALSE(items.isEmpty());
        list->scrollToItem(items.first());
        QWidget* wnd = dialog.findChild<QWidget*>(QStringLiteral("solidWnd"));

        // Onto the floor in front of the table, then half a metre on.
        dropped = wnd->mapToGlobal(QPoint(wnd->width() / 2, wnd->height() * 3 / 4));
        const QPoint from =
            list->viewport()->mapToGlobal(list->visualItemRect(items.first()).center());
        drag(list->viewport(), from, dropped);
        left = dropped + QPoint(wnd->width() / 8, 0);
        drag(wnd, dropped, left);

        atLeft = contextMenu(wnd, left, QStringLiteral("右转90度"));
        atDrop = contextMenu(wnd, dropped);
    });
    const vhost::DesignRunResult first = host.session.runDesign(design);
    ASSERT_FALSE(first.failed);
    EXPECT_TRUE(has(atLeft, "右转90度")) << "the fridge was not where it was moved to";
    EXPECT_FALSE(has(atDrop, "右转90度")) << "the fridge stayed where it was dropped";

    const auto after = fridges(first.solid);
    ASSERT_EQ(after.size(), fridgesBefore + 1) << first.solid;
    EXPECT_EQ(after.back().second, "270") << "turned right by 90 degrees";

    // The host saves the design with the returned 3D part; the next run shows the fridge there.
    design.replaceSolid(first.solid);
    std::vector<QString> reopened;
    whenDialogShown([&](QWidget& dialog) {
        dialog.findChild<QAbstractButton*>(QStringLiteral("designRadio"))->click();
        reopened = contextMenu(dialog.findChild<QWidget*>(QStringLiteral("solidWnd")), left);
    });
    const vhost::DesignRunResult second = host.session.runDesign(design);
    ASSERT_FALSE(second.failed);
    EXPECT_TRUE(has(reopened, "右转90度")) << "the fridge is not where it was left";
    EXPECT_EQ(fridges(second.solid), after);
}
