#include "samples/StaticSamplePictures.h"

#include "samples/PerspectiveWarp.h"
#include "samples/SampleOverlay.h"

#include "document/CSolidDocument.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vs {
namespace {

std::array<QPointF, 4> toDouble(const SampleCorners& corners)
{
    std::array<QPointF, 4> out;
    for (size_t i = 0; i < corners.size(); ++i)
        out[i] = QPointF(corners[i]);
    return out;
}

} // namespace

const char* samplePictureName(SamplePicture picture)
{
    switch (picture) {
    case SamplePicture::Overlay:
        return "sampleRenderImg";
    case SamplePicture::TransparentOverlay:
        return "transparentSampleRenderImg";
    case SamplePicture::Photo:
        return "originalStaticSolid";
    case SamplePicture::ClipMask:
        return "sampleClipImg";
    case SamplePicture::Perspective:
        return "perspectiveImg";
    }
    return "";
}

void StaticSamplePictures::rebuild(CSolidDocument& document, IntSize client, bool keepCorners)
{
    if (document.staticSolidSampleId == 0)
        return;
    if (document.samplePhoto.isNull()) {
        clear();
        return;
    }
    client_ = client;
    const IntSize photo{document.samplePhoto.width(), document.samplePhoto.height()};
    fit_ = fitPhotoRect(client, photo);
    picture_ = zoomPictureRect(fit_, zoom_);

    const QImage ceiling = ceilingPixels(document);
    setPicture(SamplePicture::Overlay, cutOutCeiling(document, ceiling, kOpaqueOverlayAlpha));
    setPicture(SamplePicture::TransparentOverlay,
               cutOutCeiling(document, ceiling, kTransparentOverlayAlpha));
    setPicture(SamplePicture::Photo, document.samplePhoto.image());

    const QImage& perspective = pictures_[int(SamplePicture::Perspective)];
    if (!keepCorners) {
        ensureProjectedPoints(document);
        corners_ = cornersFromProjected(document.staticSolidProjectedPoints, picture_);
        BuildPerspectiveImage(document);
    } else if (perspective.width() != client.width || perspective.height() != client.height) {
        // The kept corners still need a picture of the new client size.
        BuildPerspectiveImage(document);
    }
    setPicture(SamplePicture::ClipMask, BuildClipMask(client, picture_));
}

void StaticSamplePictures::refresh(CSolidDocument& document, IntSize client)
{
    if (hasOverlays() && !document.staticSolidProjectedPoints.empty()) {
        rebuild(document, client, true);
        StoreCorners(document);
    } else {
        rebuild(document, client, false);
    }
}

void StaticSamplePictures::BuildPerspectiveImage(CSolidDocument& document)
{
    if (!planSourceTaken_) {
        planSource_ = planPictureSource(document);
        planSourceTaken_ = true;
    }
    setPicture(SamplePicture::Perspective,
               WarpPictureToQuad(planSource_, toDouble(corners_), client_.width, client_.height));
}

void StaticSamplePictures::StoreCorners(CSolidDocument& document) const
{
    vs::StoreCorners(document, corners_, picture_);
}

bool StaticSamplePictures::moveCorner(CSolidDocument& document, int index, QPoint position)
{
    if (index < 0 || index >= int(corners_.size()))
        return false;
    corners_[size_t(index)] = position;
    BuildPerspectiveImage(document);
    StoreCorners(document);
    return true;
}

double StaticSamplePictures::setZoom(CSolidDocument& document, double zoom)
{
    zoom_ = std::isfinite(zoom) ? std::clamp(zoom, kMinSampleZoom, kMaxSampleZoom) : 1.0;
    if (!hasOverlays())
        return zoom_;
    picture_ = zoomPictureRect(fit_, zoom_);
    ensureProjectedPoints(document);
    corners_ = cornersFromProjected(document.staticSolidProjectedPoints, picture_);
    setPicture(SamplePicture::ClipMask, BuildClipMask(client_, picture_));
    BuildPerspectiveImage(document);
    return zoom_;
}

void StaticSamplePictures::forgetPlanSource()
{
    planSource_ = QImage();
    planSourceTaken_ = false;
}

void StaticSamplePictures::clear()
{
    for (int i = 0; i < kSamplePictureCount; ++i)
        setPicture(SamplePicture(i), QImage());
    fit_ = picture_ = IRect();
    corners_ = SampleCorners{};
}

unsigned StaticSamplePictures::takeChangedPictures()
{
    return std::exchange(changed_, 0u);
}

const QImage& StaticSamplePictures::picture(SamplePicture which) const
{
    static const QImage none;
    const int i = int(which);
    return i >= 0 && i < kSamplePictureCount ? pictures_[i] : none;
}

void StaticSamplePictures::setPicture(SamplePicture which, QImage image)
{
    QImage& slot = pictures_[int(which)];
    if (slot.isNull() && image.isNull())
        return;
    slot = std::move(image);
    changed_ |= samplePictureBit(which);
}

} // namespace vs
