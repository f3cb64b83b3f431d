// The light setup dialog on the kitchen's lights: the type switch and its cone fields, the
// attenuation mapping, the refusals, the single shadow caster, a lamp's light made by
// "启用光源", Cancel and the undo step of OK.
#include "DialogInput.h"
#include "RoomDialogTest.h"

#include "dialogs/CLightSetupDialog.h"
#include "dialogs/CUpDown.h"
#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"
#include "scene/CRoomSceneNode.h"
#include "scene/LightScene.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QUndoStack>

using dialoginput::leave;
using dialoginput::typeInto;

namespace {

class LightSetupTest : public dialogtest::RoomDialogTest
{
protected:
    void SetUp() override
    {
        RoomDialogTest::SetUp();
        openRoom("kitchen.xml");
        doc_->viewState = std::make_unique<SolidViewState>();
        doc_->viewState->simpleLighting = false; // the user's lights are the ones shown
        wnd_->ApplyDisplayPreferences();
        ASSERT_FALSE(doc_->solidLights.empty());
        main_ = doc_->solidLights.front().get();
        ASSERT_NE(vs::lightNode(*main_), nullptr);
    }

    void TearDown() override
    {
        setup_.reset();
        RoomDialogTest::TearDown();
    }

    CLightSetupDialog& openSetup(CSolidLight* light, CHost* owner = nullptr)
    {
        setup_ = std::make_unique<CLightSetupDialog>(*wnd_, light, owner, view_.get());
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

    /** A second user light with its nodes. */
    CSolidLight& addLight()
    {
        auto light = std::make_unique<CSolidLight>(doc_);
        light->position = {5000, 20000, 5000};
        light->castShadows = true;
        CSolidLight& added = *light;
        doc_->solidLights.push_back(std::move(light));
        vs::buildLightNode(added, doc_->roomNode);
        return added;
    }

    /** A lamp on the root ceiling plane, made once, without a light. */
    CHost* lamp()
    {
        if (lamp_ == nullptr) {
            auto host = std::make_unique<CHost>();
            host->id = 91;
            host->plane = doc_->ceiling->root.get();
            host->rect = RRect{9000, 6000, 12000, 9000};
            lamp_ = host.get();
            doc_->ceiling->root->hosts.push_back(std::move(host));
        }
        return lamp_;
    }

    CHost* lamp_ = nullptr;

    CSolidLight* main_ = nullptr;
    std::unique_ptr<CLightSetupDialog> setup_;
};

} // namespace

TEST_F(LightSetupTest, SpotlightShowsItsStoredConesAndPointLightEmptiesThem)
{
    main_->innerCone = 20;
    main_->outerCone = 50;
    openSetup(main_);
    auto* type = field<QComboBox>("typeCombo");
    auto* inner = field<QLineEdit>("innerEdit");
    auto* outer = field<QLineEdit>("outerEdit");
    EXPECT_EQ(type->currentText(), "点光源");
    EXPECT_TRUE(inner->text().isEmpty());
    EXPECT_FALSE(inner->isEnabled());

    type->setCurrentIndex(1);
    EXPECT_EQ(inner->text(), "20.0");
    EXPECT_EQ(outer->text(), "50.0");
    EXPECT_TRUE(outer->isEnabled());
    EXPECT_EQ(vs::lightNode(*main_)->getLightData().Type, irr::video::ELT_SPOT) << "previewed";
    EXPECT_EQ(main_->type, CSolidLight::Point) << "the record waits for OK";

    type->setCurrentIndex(0);
    EXPECT_TRUE(outer->text().isEmpty());
    EXPECT_FALSE(outer->isEnabled());
}

TEST_F(LightSetupTest, CoefficientIsLinearTimesTenThousandOrQuadraticTimesTenToTheEight)
{
    main_->attenuation = {0, 0.002f, 0};
    openSetup(main_);
    EXPECT_EQ(field<QComboBox>("speedCombo")->currentText(), "慢");
    EXPECT_EQ(field<QLineEdit>("coefficientEdit")->text(), "20.0");

    field<QComboBox>("speedCombo")->setCurrentIndex(1);
    typeInto(field<QLineEdit>("coefficientEdit"), "1");
    EXPECT_FLOAT_EQ(setup_->data().attenuation.z, 1e-8f);
    EXPECT_EQ(setup_->data().attenuation.y, 0);
    EXPECT_FLOAT_EQ(vs::lightNode(*main_)->getLightData().Attenuation.Z, 1e-8f);

    field<CUpDown>("coefficientUpDown")->step(-1);
    EXPECT_EQ(field<QLineEdit>("coefficientEdit")->text(), "1.1");
    field<CUpDown>("radiusUpDown")->step(-1);
    EXPECT_FLOAT_EQ(setup_->data().radius, main_->radius + 100);
    field<CUpDown>("heightUpDown")->step(1);
    EXPECT_FLOAT_EQ(setup_->data().position.y, main_->position.y - 100);
    EXPECT_FLOAT_EQ(vs::lightMarkerNode(*main_)->getPosition().Y, main_->position.y - 100);
}

TEST_F(LightSetupTest, ValuesTheEngineCannotLightWithAreRefusedOnLeaving)
{
    dialoginput::Messages messages;
    main_->type = CSolidLight::Spot;
    main_->innerCone = 10;
    main_->outerCone = 40;
    openSetup(main_);
    auto* radius = field<QLineEdit>("radiusEdit");
    const float radiusBefore = setup_->data().radius;
    typeInto(radius, "0");
    EXPECT_EQ(setup_->data().radius, radiusBefore) << "a zero radius is not previewed";
    leave(radius, field<QLineEdit>("heightEdit"));
    EXPECT_EQ(messages.texts, QStringList{"输入错误！"});
    EXPECT_TRUE(radius->hasFocus());
    typeInto(radius, "3");

    auto* inner = field<QLineEdit>("innerEdit");
    typeInto(inner, "60"); // wider than the outer cone
    EXPECT_EQ(setup_->data().innerCone, 6) << "the 6 typed first was fine";
    leave(inner, radius);
    EXPECT_EQ(messages.texts.size(), 2);
    typeInto(inner, "5");
    auto* outer = field<QLineEdit>("outerEdit");
    typeInto(outer, "200");
    EXPECT_EQ(setup_->data().outerCone, 20);
    leave(outer, radius);
    EXPECT_EQ(messages.texts.size(), 3);
    EXPECT_TRUE(outer->hasFocus());
    typeInto(outer, "inf");
    leave(outer, radius);
    EXPECT_EQ(messages.texts.size(), 4);
}

TEST_F(LightSetupTest, ShadowOnOneLightClearsItOnAllOthers)
{
    CSolidLight& other = addLight();
    main_->castShadows = false;
    for (auto& l : doc_->defaultSolidLights)
        l->castShadows = true;
    openSetup(main_);
    field<QCheckBox>("shadowCheck")->click();
    field<QPushButton>("okButton")->click();
    EXPECT_TRUE(main_->castShadows);
    EXPECT_FALSE(other.castShadows);
    for (auto& l : doc_->defaultSolidLights)
        EXPECT_FALSE(l->castShadows);
}

TEST_F(LightSetupTest, CancelAfterPreviewsPutsTheNodesBack)
{
    const std::string before = written();
    const irr::video::SLight stored = vs::lightNode(*main_)->getLightData();
    openSetup(main_);
    typeInto(field<QLineEdit>("radiusEdit"), "2.5");
    typeInto(field<QLineEdit>("heightEdit"), "1.1");
    field<QComboBox>("typeCombo")->setCurrentIndex(1);
    {
        dialoginput::ColourAnswer answer(QColor(255, 0, 0));
        field<QPushButton>("colourButton")->click();
        EXPECT_EQ(answer.offered, QColor(255, 255, 255));
    }
    EXPECT_FLOAT_EQ(vs::lightNode(*main_)->getLightData().DiffuseColor.g, 0);
    field<QPushButton>("cancelButton")->click();
    EXPECT_EQ(written(), before);
    const irr::video::SLight now = vs::lightNode(*main_)->getLightData();
    EXPECT_EQ(now.Radius, stored.Radius);
    EXPECT_EQ(now.Type, stored.Type);
    EXPECT_EQ(now.DiffuseColor.g, stored.DiffuseColor.g);
    EXPECT_EQ(vs::lightNode(*main_)->getPosition().Y, main_->position.y);
    EXPECT_EQ(vs::lightMarkerNode(*main_)->getPosition().Y, main_->position.y);
    EXPECT_TRUE(vs::lightNode(*main_)->isVisible());
}

TEST_F(LightSetupTest, CancelUnderSimpleLightingKeepsTheLightSwitchedOn)
{
    doc_->viewState->simpleLighting = true;
    wnd_->ApplyDisplayPreferences();
    ASSERT_FALSE(vs::lightNode(*main_)->isVisible()) << "hidden by the lighting model";
    openSetup(main_);
    EXPECT_TRUE(field<QCheckBox>("enableCheck")->isChecked());
    field<QPushButton>("cancelButton")->click();
    EXPECT_TRUE(main_->isVisible);
    EXPECT_FALSE(vs::lightNode(*main_)->isVisible());
}

TEST_F(LightSetupTest, LampWithoutALightGetsOneWhenEnabledAndCancelLeavesItOff)
{
    CHost* host = lamp();
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(host->light, nullptr);
    const std::size_t lights = doc_->solidLights.size();
    openSetup(nullptr, host);
    auto* enable = field<QCheckBox>("enableCheck");
    EXPECT_FALSE(enable->isChecked());
    EXPECT_FALSE(field<QLineEdit>("radiusEdit")->isEnabled());
    EXPECT_FALSE(field<QPushButton>("colourButton")->isEnabled());

    enable->click();
    ASSERT_NE(host->light, nullptr);
    EXPECT_EQ(setup_->light(), host->light);
    EXPECT_EQ(doc_->solidLights.size(), lights + 1);
    ASSERT_NE(vs::lightNode(*host->light), nullptr);
    EXPECT_TRUE(vs::lightNode(*host->light)->isVisible());
    EXPECT_TRUE(field<QLineEdit>("radiusEdit")->isEnabled());
    EXPECT_EQ(field<QLineEdit>("heightEdit")->text(), "0.23");

    field<QPushButton>("cancelButton")->click();
    EXPECT_EQ(doc_->solidLights.size(), lights + 1) << "the light stays in the room";
    EXPECT_FALSE(host->light->isVisible);
    EXPECT_FALSE(vs::lightNode(*host->light)->isVisible());
}

TEST_F(LightSetupTest, OkIsOneUndoStepThatRestoresWhatCancelWouldHaveKept)
{
    CSolidLight& other = addLight();
    const std::string before = written();
    QUndoStack stack;
    dialoginput::whenModal([](QWidget* dialog) {
        typeInto(dialog->findChild<QLineEdit*>("radiusEdit"), "4");
        auto* shadow = dialog->findChild<QCheckBox*>("shadowCheck");
        if (!shadow->isChecked())
            shadow->click();
        dialog->findChild<QPushButton*>("okButton")->click();
    });
    ASSERT_TRUE(vs::runLightSetup(*wnd_, main_, nullptr, &stack, view_.get()));
    ASSERT_EQ(stack.count(), 1);
    EXPECT_EQ(main_->radius, 40000);
    EXPECT_FALSE(other.castShadows);
    const std::string accepted = written();

    stack.undo();
    EXPECT_EQ(written(), before);
    EXPECT_TRUE(other.castShadows);
    EXPECT_EQ(vs::lightNode(*main_)->getLightData().Radius, main_->radius);
    stack.redo();
    EXPECT_EQ(written(), accepted);

    // A lamp's light made in the dialog: undo switches it off, as Cancel would have left it.
    CHost* host = lamp();
    dialoginput::whenModal([](QWidget* dialog) {
        dialog->findChild<QCheckBox*>("enableCheck")->click();
        dialog->findChild<QPushButton*>("okButton")->click();
    });
    ASSERT_TRUE(vs::runLightSetup(*wnd_, nullptr, host, &stack, view_.get()));
    ASSERT_NE(host->light, nullptr);
    EXPECT_TRUE(host->light->isVisible);
    stack.undo();
    EXPECT_FALSE(host->light->isVisible);
    EXPECT_FALSE(vs::lightNode(*host->light)->isVisible());
}
