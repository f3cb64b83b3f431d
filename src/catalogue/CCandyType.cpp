#include "catalogue/CCandyType.h"

#include "catalogue/HostCallbacks.h"

#include <cmath>
#include <stdexcept>

namespace {

/** Types that default to a 3 m long, 25 mm high bar when poured without a size. */
bool isDefaultBar(int kind, int id)
{
    return kind == 7 || id == 164864 || id == 164865 || id == -1;
}

Picture decodeHostPicture(const void* data, int size)
{
    if (data == nullptr || size <= 0)
        return Picture();
    return Picture::decode(data, static_cast<size_t>(size));
}

int roundHalfUp(double v)
{
    return static_cast<int>(std::floor(v + 0.5));
}

} // namespace

CCandyType::CCandyType(const CandyTypeInfo& info, const HostCallbacks* callbacks)
    : id(info.id), kind(info.kind), categoryId(info.categoryId), nominalWidth(info.nominalWidth),
      nominalHeight(info.nominalHeight), rotateDegree(info.rotateDegree), listed(info.listed),
      stripAcross(info.stripAcross), option14(info.option14), tower(info.tower), name_(info.name),
      callbacks_(callbacks), pouredPictureData_(info.pictureData),
      pouredPictureSize_(info.pictureSize)
{
    const bool bar = isDefaultBar(kind, id);
    width = info.width > 0 ? info.width : (bar ? 30000 : nominalWidth);
    height = info.height > 0 ? info.height : (bar ? 250 : nominalHeight);
    if (kind == 2)
        layoutSize = {0, stripAcross ? width : height};
    else
        layoutSize = {width, height};
}

void CCandyType::fetchPlanPictures()
{
    if (planPicturesFetched_)
        return;
    planPicturesFetched_ = true;
    const void* data1 = pouredPictureData_;
    int size1 = pouredPictureSize_;
    const void* data2 = nullptr;
    int size2 = 0;
    if (callbacks_ != nullptr && callbacks_->getCandyTypeImages != nullptr)
        callbacks_->getCandyTypeImages(id, &data1, &size1, &data2, &size2);
    pouredPictureData_ = data1;
    pouredPictureSize_ = size1;
    planPictures_[0] = decodeHostPicture(data1, size1);
    planPictures_[1] = decodeHostPicture(data2, size2);
}

const Picture& CCandyType::planPicture()
{
    fetchPlanPictures();
    return planPictures_[0];
}

const Picture& CCandyType::secondPicture()
{
    fetchPlanPictures();
    return planPictures_[1];
}

const Picture& CCandyType::sidePicture(int index)
{
    if (index < 0 || index > 3)
        throw std::out_of_range("side picture index " + std::to_string(index));
    if (!sideFetched_[index]) {
        sideFetched_[index] = true;
        const void* data = nullptr;
        int size = 0;
        if (callbacks_ != nullptr && callbacks_->getCandyTypeTextures != nullptr)
            callbacks_->getCandyTypeTextures(id, index, &data, &size);
        sidePictures_[index] = decodeHostPicture(data, size);
    }
    return sidePictures_[index];
}

IntSize CCandyType::listPictureSize(int /*maxWidth*/)
{
    // 50 pixels per 300 mm; very large types are fitted into 150 pixels.
    if (nominalWidth <= 9000 && nominalHeight <= 9000)
        return {std::max(0, roundHalfUp(nominalWidth * 50.0 / 3000.0)),
                std::max(0, roundHalfUp(nominalHeight * 50.0 / 3000.0))};
    const double longer = std::max(nominalWidth, nominalHeight);
    const int shorter =
        std::max(0, roundHalfUp(150.0 * std::min(nominalWidth, nominalHeight) / longer));
    return nominalWidth >= nominalHeight ? IntSize{150, shorter} : IntSize{shorter, 150};
}

void CCandyType::rotate(int degrees)
{
    long long r = static_cast<long long>(rotateDegree) + degrees;
    r %= 360;
    if (r < 0)
        r += 360;
    rotateDegree = static_cast<int>(r);
}
