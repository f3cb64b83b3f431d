#include "edit/SolidSampleCommand.h"

#include "document/CSolidDocument.h"
#include "edit/DesignView.h"
#include "edit/Selection.h"
#include "scene/SolidSampleScene.h"

SolidSampleCommand::SolidSampleCommand(DesignView& view, vs::SolidContents contents)
    : QUndoCommand(QStringLiteral("应用三维模板")), view_(view), held_(std::move(contents))
{
}

void SolidSampleCommand::redo()
{
    exchange();
}

void SolidSampleCommand::undo()
{
    exchange();
}

void SolidSampleCommand::exchange()
{
    CSolidDocument& document = view_.document();
    // Every facility now in the document leaves it, so none may stay selected.
    for (const auto& facility : document.solidFacilities)
        view_.selection().forget(facility.get());
    vs::exchangeShownSolidContents(document, held_);
    view_.DrawScene();
}
