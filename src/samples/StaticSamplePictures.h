// The change-top view's pictures of one window: where the photo lies, the four corners of the
// ceiling quadrilateral, and the five pictures the window turns into engine textures. The
// window owns one of these, calls it on every change, and after each call uploads the pictures
// takeChangedPictures() names (removing the driver's old texture of the same name first).
#pragma once

#include "samples/StaticSampleGeometry.h"

#include "document/SolidMath.h"
#include "platform/IntSize.h"

#include <QImage>

class CSolidDocument;

namespace vs {

/** The five pictures of the change-top view; also bit positions of a change mask. */
enum class SamplePicture {
    /** Photo size: the photo, alpha 0 on ceiling pixels and 255 elsewhere. */
    Overlay = 0,
    /** Photo size: the photo, alpha 0 on ceiling pixels and 192 elsewhere. */
    TransparentOverlay,
    /** Photo size: the photo as stored. */
    Photo,
    /** Client size: white, alpha 255 outside the picture rectangle and 0 inside. */
    ClipMask,
    /** Client size: the ceiling's plan picture warped onto the corners, on opaque white. */
    Perspective,
};
constexpr int kSamplePictureCount = 5;

/** Returns the engine texture name of `picture`: "sampleRenderImg",
 *  "transparentSampleRenderImg", "originalStaticSolid", "sampleClipImg" or "perspectiveImg". */
const char* samplePictureName(SamplePicture picture);

/** Returns the bit of `picture` in a change mask. */
constexpr unsigned samplePictureBit(SamplePicture picture)
{
    return 1u << static_cast<unsigned>(picture);
}

class StaticSamplePictures
{
public:
    /** Rebuilds the pictures of the document's static sample for a client area of `client`
     *  pixels. Does nothing when staticSolidSampleId is 0; with no photo it drops every picture.
     *  Unless `keepCorners`, the corners are recomputed from the document's projected points
     *  (which get the defaults when the document has fewer than four) and the perspective
     *  picture is rebuilt; with `keepCorners` it is rebuilt only when it does not match the
     *  client size. */
    void rebuild(CSolidDocument& document, IntSize client, bool keepCorners);

    /** What applying a sample and resizing the window do: rebuilds keeping the corners when
     *  the overlays exist and the document has projected points, then stores the corners into
     *  the document; otherwise rebuilds recomputing them. */
    void refresh(CSolidDocument& document, IntSize client);

    /** Rewarps the plan picture onto the current corners. The plan picture is taken from the
     *  document on first use and kept until forgetPlanSource(). */
    void BuildPerspectiveImage(CSolidDocument& document);

    /** Writes the current corners into the document's projected points. */
    void StoreCorners(CSolidDocument& document) const;

    /** Moves corner `index` (0..3; others are ignored) to `position`, rewarps and stores the
     *  corners, as a corner drag does. Returns false when the index is out of range. */
    bool moveCorner(CSolidDocument& document, int index, QPoint position);

    /** Sets the zoom, clamped to [kMinSampleZoom, kMaxSampleZoom]; the picture rectangle is
     *  scaled about the fit rectangle's centre, the corners are recomputed from the document's
     *  projected points, and the clip mask and perspective picture rebuilt. Returns the zoom
     *  set. Without a built sample only the zoom is kept. */
    double setZoom(CSolidDocument& document, double zoom);

    /** Forgets the plan picture source, so the next warp takes the ceiling's picture again. */
    void forgetPlanSource();

    /** Drops every picture and the corners (the zoom and plan source stay). */
    void clear();

    /** Returns the bits (samplePictureBit) of the pictures changed since the last call and
     *  clears them. A changed picture may have become null: its texture is then removed. */
    unsigned takeChangedPictures();

    /** Returns one of the five pictures; a null image when it is not built. */
    const QImage& picture(SamplePicture which) const;

    /** True when the overlays of a photo are built. */
    bool hasOverlays() const { return !pictures_[0].isNull(); }

    /** The photo fitted into the client area. */
    const IRect& fitRect() const { return fit_; }
    /** The fit rectangle scaled by the zoom: the photo's place on screen. */
    const IRect& pictureRect() const { return picture_; }
    /** The four corners, client pixels. */
    const SampleCorners& corners() const { return corners_; }
    /** The change-top zoom, 1 at construction. */
    double zoom() const { return zoom_; }
    /** The client size of the last rebuild. */
    IntSize clientSize() const { return client_; }

private:
    void setPicture(SamplePicture which, QImage image);

    QImage pictures_[kSamplePictureCount];
    unsigned changed_ = 0;
    QImage planSource_;
    bool planSourceTaken_ = false;
    IRect fit_;
    IRect picture_;
    SampleCorners corners_{};
    double zoom_ = 1.0;
    IntSize client_;
};

} // namespace vs
