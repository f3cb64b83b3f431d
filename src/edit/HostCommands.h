// The undo steps of the ceiling's host items and panels. Each reports to the host through its
// ceiling callbacks when it runs, and reports the reverse when it is undone, so that the host's
// layout stays in step with the document.
#pragma once

#include "document/FitResult.h"
#include "document/RRect.h"
#include "document/SolidMath.h"

#include <QUndoCommand>

#include <memory>
#include <string>
#include <vector>

class CCandyType;
class CGridMapping;
class CHost;
class CSolidLight;
class DesignView;

namespace vs {

/** A host item's move by (dx, dy): whole cells for a grid host, grid-relative decimillimetres
 *  for a free one. */
struct HostOffset
{
    double dx = 0;
    double dy = 0;
    bool isZero() const { return dx == 0 && dy == 0; }
};

/** Where a host item lies: enough to put it back exactly. */
struct HostPlace
{
    int32_t gx = 0, gy = 0, lastCol = 0, lastRow = 0;
    RRect rect;
    bool freePosition = false;
};
/** The host item's place now. */
HostPlace placeOf(const CHost& host);
/** Puts the host item back at `place` (its light following), repaints the picture where it was
 *  and where it is, and refreshes its tower and light node. */
void restorePlace(DesignView& view, CHost& host, const HostPlace& place);

/** Tells the host that `host` moved by `offset` (MoveCeilingHost); true when it accepts (also
 *  when the host gave no callback). */
bool reportHostMove(DesignView& view, const CHost& host, const HostOffset& offset);
/** Moves `host` by `offset` in the document and the scene (picture, tower, light). */
void applyHostMove(DesignView& view, CHost& host, const HostOffset& offset);

/** The column or row range text of LayTiles: "first,last" then ",first,last" of each run. */
std::string rangeText(const FitResult& fit);

/** Moves a host item the host has already accepted; undo reports and applies the way back. */
class MoveHostCommand : public QUndoCommand
{
public:
    MoveHostCommand(DesignView& view, CHost& host, const HostOffset& offset);
    void redo() override;
    void undo() override;

private:
    DesignView& view_;
    CHost& host_;
    HostOffset offset_;
    HostPlace before_;
    HostPlace after_;
    bool reported_ = true; ///< the first run was reported (and accepted) before the push
};

/** Adds a host item (AddCeilingHost gives its id); undo deletes it again. */
class AddHostCommand : public QUndoCommand
{
public:
    /** `free`: (x, y) is a grid-relative position; else the absolute column and row. */
    AddHostCommand(DesignView& view, CGridMapping& plane, CCandyType& type, bool free, double x,
                   double y);
    ~AddHostCommand() override;
    void redo() override;
    void undo() override;
    /** The item while it is in the document, else null. */
    CHost* host() const;

private:
    DesignView& view_;
    CGridMapping& plane_;
    std::unique_ptr<CHost> made_; ///< held while undone
    CHost* host_ = nullptr;
};

/** Deletes a host item with its light; undo adds it again and takes the id the host returns. */
class DeleteHostCommand : public QUndoCommand
{
public:
    DeleteHostCommand(DesignView& view, CHost& host);
    ~DeleteHostCommand() override;
    void redo() override;
    void undo() override;

private:
    DesignView& view_;
    CGridMapping& plane_;
    CHost* host_;
    std::unique_ptr<CHost> held_;            ///< held while deleted
    std::unique_ptr<CSolidLight> heldLight_; ///< its light, held while deleted
    size_t hostIndex_ = 0;
    size_t lightIndex_ = 0;
};

/** Turns a host item by 90 or 270 degrees (RotateCeilingHost); undo turns it back. */
class RotateHostCommand : public QUndoCommand
{
public:
    RotateHostCommand(DesignView& view, CHost& host, int degrees);
    void redo() override;
    void undo() override;

private:
    void turn(int degrees);
    DesignView& view_;
    CHost& host_;
    int degrees_;
};

/** Lays a panel type over two exact-fit results (LayTiles); undo takes the laid panels away,
 *  puts the panels they replaced back and lays their types over their cells at the host. */
class LayPanelsCommand : public QUndoCommand
{
public:
    LayPanelsCommand(DesignView& view, CGridMapping& plane, CCandyType& type, FitResult cols,
                     FitResult rows);
    void redo() override;
    void undo() override;

private:
    /** What a replaced panel was, to lay it again. */
    struct Panel
    {
        CCandyType* type = nullptr;
        int32_t gx = 0, gy = 0, lastCol = 0, lastRow = 0;
        int32_t rotateDegree = 0, tower = 0, side = -1, width = 0, height = 0;
    };
    void finish(const IRect& area, const std::vector<CGridMapping*>& bends);
    DesignView& view_;
    CGridMapping& plane_;
    CCandyType& type_;
    FitResult cols_;
    FitResult rows_;
    std::vector<Panel> replaced_;
};

} // namespace vs
