// A panel type of the catalogue: clip-in and strip panels, appliances, art pieces, section bars.
#pragma once

#include "catalogue/CCommonType.h"
#include "platform/Picture.h"

#include <array>
#include <string>

struct CCandyCategory;
struct HostCallbacks;

/** The arguments of AddCandyType, as the module keeps them (name already UTF-8). */
struct CandyTypeInfo
{
    int id = 0;
    std::string name;
    int kind = 0;
    int categoryId = 0;
    int nominalWidth = 0;
    int nominalHeight = 0;
    int width = 0;
    int height = 0;
    int rotateDegree = 0;
    bool listed = false;
    bool stripAcross = false;
    const void* pictureData = nullptr;
    int pictureSize = 0;
    int option14 = 0;
    int tower = 0;
    std::string profile;
};

class CCandyType : public CCommonType
{
public:
    /** Makes a type from poured data; `callbacks` is the module's table, read when pictures are
     *  first needed. */
    CCandyType(const CandyTypeInfo& info, const HostCallbacks* callbacks);

    std::string name() const override { return name_; }
    const Picture& planPicture() override;
    IntSize listPictureSize(int maxWidth = INT_MAX) override;
    int rotation() const override { return rotateDegree; }
    void rotate(int degrees) override;
    int contextMenuIndex() const override { return 3; }

    /** Returns the second plan picture (fetched with the first). */
    const Picture& secondPicture();
    /** Returns side picture `index` (0 ... 3) for the 3D scene, fetched once each. */
    const Picture& sidePicture(int index);

    /** True when the type is placed freely rather than on the grid. */
    bool placedFreely() const { return option14 != 0; }
    /** True for section-bar types. */
    virtual bool isSectionBar() const { return false; }

    int id;
    int kind;
    int categoryId;
    int nominalWidth;
    int nominalHeight;
    int width;  ///< decimillimetres
    int height; ///< decimillimetres
    int rotateDegree;
    bool listed;
    bool stripAcross;
    int option14;
    int tower;
    IntSize layoutSize;
    CCandyCategory* category = nullptr;

private:
    void fetchPlanPictures();

    std::string name_;
    const HostCallbacks* callbacks_;
    const void* pouredPictureData_;
    int pouredPictureSize_;
    bool planPicturesFetched_ = false;
    Picture planPictures_[2];
    std::array<bool, 4> sideFetched_{};
    std::array<Picture, 4> sidePictures_;
};
