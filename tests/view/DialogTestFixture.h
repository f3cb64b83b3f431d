// A small catalogue poured into the module object and a default room, for the design dialog's
// tests. Every test starts from the same catalogue and callbacks and leaves none behind.
#pragma once

#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "view/CEntityTypeListBox.h"
#include "view/CSolidWnd.h"
#include "view/CVantrelSolidView.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace dialogtest {

// Simulated input, delivered as the window system would deliver it to a widget (the unit test
// programs do not link Qt's test library).

inline void sendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button,
                      Qt::MouseButtons buttons, QPoint pos)
{
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void mousePress(QWidget* widget, Qt::MouseButton button, QPoint pos)
{
    sendMouse(widget, QEvent::MouseButtonPress, button, button, pos);
}

/** A move with `buttons` held. */
inline void mouseMove(QWidget* widget, QPoint pos, Qt::MouseButtons buttons = Qt::LeftButton)
{
    sendMouse(widget, QEvent::MouseMove, Qt::NoButton, buttons, pos);
}

inline void mouseRelease(QWidget* widget, Qt::MouseButton button, QPoint pos)
{
    sendMouse(widget, QEvent::MouseButtonRelease, button, Qt::NoButton, pos);
}

inline void mouseClick(QWidget* widget, Qt::MouseButton button, QPoint pos)
{
    mousePress(widget, button, pos);
    mouseRelease(widget, button, pos);
}

/** Presses and releases `key` on `widget`; unaccepted presses travel up to the parents. */
inline void keyClick(QWidget* widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

/** Runs the event loop for `ms` milliseconds. */
inline void wait(int ms)
{
    QElapsedTimer timer;
    timer.start();
    do
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    while (timer.elapsed() < ms);
}

/** What the host callbacks saw. */
struct HostLog
{
    std::vector<int> chooseStaticSample;
    std::vector<std::pair<int, int>> setModelCategory;
    int sampleToApply = 0; ///< ChooseStaticSample applies this id to the current document
};

inline HostLog& hostLog()
{
    static HostLog log;
    return log;
}

inline int32 chooseStaticSample(int32 on)
{
    hostLog().chooseStaticSample.push_back(on);
    if (hostLog().sampleToApply != 0 && vs::currentDocument() != nullptr)
        vs::currentDocument()->staticSolidSampleId = hostLog().sampleToApply;
    return 0;
}

inline void setModelCategory(int32 modelId, int32 categoryId)
{
    hostLog().setModelCategory.emplace_back(modelId, categoryId);
}

/** PNG bytes of a plain picture, kept for the life of the process (the catalogue keeps the
 *  pointers). */
inline const QByteArray& pictureBytes(int width, int height, QColor colour)
{
    static std::vector<std::unique_ptr<QByteArray>> kept;
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    for (int x = 0; x < width; ++x)
        image.setPixelColor(x, 0, Qt::black); // marks the top edge
    auto bytes = std::make_unique<QByteArray>();
    QBuffer buffer(bytes.get());
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    kept.push_back(std::move(bytes));
    return *kept.back();
}

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CVantrelSolidApp& app = CVantrelSolidApp::instance();
        savedCallbacks_ = app.callbacks;
        savedOption_ = app.catalogueOption;
        app.clearMasterData();
        app.callbacks = HostCallbacks();
        app.callbacks.chooseStaticSample = &chooseStaticSample;
        app.callbacks.setModelCategory = &setModelCategory;
        app.catalogueOption = 0;
        hostLog() = HostLog();
        app.addBuiltIns();
        pourPanels(app.candies);
        pourFacilities(app.facilities);
    }

    void TearDown() override
    {
        view_.reset();
        vs::closeCurrentDocument();
        CVantrelSolidApp& app = CVantrelSolidApp::instance();
        app.clearMasterData();
        app.callbacks = savedCallbacks_;
        app.catalogueOption = savedOption_;
    }

    /** Links the catalogues, reads a default room and builds the dialog (shown unless told). */
    CVantrelSolidView& openDialog(bool show = true)
    {
        CVantrelSolidApp& app = CVantrelSolidApp::instance();
        app.candies.link();
        app.facilities.link();
        if (vs::currentDocument() == nullptr)
            vs::openCurrentDocument(std::string());
        view_ = std::make_unique<CVantrelSolidView>(*vs::currentDocument());
        // The leave-viewing question must not wait for a user.
        view_->solidWnd()->setLeaveQuestion([this] {
            ++leaveQuestions_;
            return leaveAnswer_;
        });
        if (show) {
            view_->resize(1000, 700);
            view_->show();
        }
        return *view_;
    }

    template <typename T> T* child(const char* name) const
    {
        T* found = view_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static QStringList entries(const QComboBox* combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }

    static QStringList names(const CEntityTypeListBox* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    /** Panels: "Aluminium" (top, order 1) with the child "Square"; "Empty" (top, order 2)
     *  whose child holds only an unlisted type; an appliance without a category. */
    static void pourPanels(CCandyCatalogue& candies)
    {
        candies.addCategory(10, "铝扣板", 0, 1);
        candies.addCategory(11, "方板", 10, 1);
        candies.addCategory(12, "空类", 0, 2);
        candies.addCategory(13, "空子类", 12, 1);
        addPanel(candies, 101, "方板300", 1, 11, 3000, 3000, true);
        addPanel(candies, 102, "长板600", 1, 10, 6000, 3000, true);
        addPanel(candies, 103, "隐藏板", 1, 13, 3000, 3000, false);
        addPanel(candies, 104, "排风扇", 3, 0, 3000, 3000, true);
    }

    static CCandyType* addPanel(CCandyCatalogue& candies, int id, const char* name, int kind,
                                int categoryId, int width, int height, bool listed)
    {
        CandyTypeInfo info;
        info.id = id;
        info.name = name;
        info.kind = kind;
        info.categoryId = categoryId;
        info.nominalWidth = width;
        info.nominalHeight = height;
        info.listed = listed;
        const QByteArray& png = pictureBytes(60, 30, QColor(200, 170, 90));
        info.pictureData = png.constData();
        info.pictureSize = int(png.size());
        return candies.addType(info);
    }

    /** Facilities: "Appliances" with the brands "Brand A" (series "Series X"), an empty brand
     *  and the feature-wall category 223 (empty too). */
    static void pourFacilities(CFacilityCatalogue& facilities)
    {
        facilities.addCategory(1, 0, "家电");
        facilities.addCategory(2, 1, "品牌A");
        facilities.addCategory(3, 2, "系列X");
        facilities.addCategory(4, 1, "空品牌");
        facilities.addCategory(CFacilityCatalogue::kFeatureWallCategoryId, 1, "电视背景墙");
        addModel(facilities, 5001, "冰箱", 3);
        addModel(facilities, 5002, "洗衣机", 2);
        addModel(facilities, 5003, "空调", 1);
        addModel(facilities, 5004, "电视", 3);
    }

    static void addModel(CFacilityCatalogue& facilities, int id, const char* name, int category)
    {
        FacilityModelInfo info;
        info.id = id;
        info.name = name;
        info.kindAndFlags = 1;
        info.listWidth = 80;
        const QByteArray& png = pictureBytes(40, 40, QColor(90, 140, 200));
        info.pictureData = png.constData();
        info.pictureSize = int(png.size());
        info.categoryId = category;
        facilities.addModel(info);
    }

    std::unique_ptr<CVantrelSolidView> view_;
    int leaveQuestions_ = 0;
    bool leaveAnswer_ = true;

private:
    HostCallbacks savedCallbacks_;
    int savedOption_ = 0;
};

} // namespace dialogtest
