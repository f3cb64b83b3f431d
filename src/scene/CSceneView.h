#pragma once

class CSolidDocument;

/** What editing code needs of the window that shows a document's scene: the document, a frame
 *  drawn now, and the display preferences applied again. The 3D window implements it, so that
 *  dialogs and undo steps preview their edits without depending on the window itself. */
class CSceneView
{
public:
    virtual ~CSceneView() = default;

    /** The document shown. */
    virtual CSolidDocument& document() const = 0;
    /** Draws one frame now (nothing without an engine device). */
    virtual void DrawScene() = 0;
    /** Applies the document's display preferences to the scene and draws (twice with
     *  redrawTwice). */
    virtual void ApplyDisplayPreferences(bool redrawTwice = false) = 0;
};
