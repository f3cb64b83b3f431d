#include "DesignReader.h"

#include "CeilingXmlReader.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CustomMaterialXml.h"
#include "document/DesignCatalogue.h"
#include "document/HostLightPlace.h"
#include "document/PointText.h"
#include "document/SolidCeiling.h"
#include "document/XmlDepth.h"
#include "document/XmlNames.h"
#include "document/XmlValues.h"
#include "platform/Errors.h"

#include <algorithm>
#include <cmath>

namespace vs {
namespace {

// The display setup accepts no field of view (degrees) or eye height above the floor (metres)
// outside these limits; a stored file must not open a view the user could not have set.
constexpr double kMinFov = 30, kMaxFov = 120;
constexpr double kMinEyeAboveFloor = 1, kMaxEyeAboveFloor = 2.6;

double clampedPreference(double value, double low, double high, double fallback)
{
    return std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

/** The root plane's indented bounds measured from their own left/top corner: where the room's
 *  lights and facilities are placed from (the bounds themselves when empty). */
RRect roomBounds(const CGridMapping& root)
{
    const RRect& b = root.indentedBounds;
    if (!(b.left <= b.right && b.top <= b.bottom) || !std::isfinite(b.left) ||
        !std::isfinite(b.top))
        return b;
    return {0, 0, b.right - b.left, b.bottom - b.top};
}

// The bounds of points; null when there are none.
bool boundsOf(const std::vector<RPoint>& points, RRect& bounds)
{
    if (points.empty())
        return false;
    bounds = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (const RPoint& p : points) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.right = std::max(bounds.right, p.x);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
    return true;
}

// The root plane's indent rule: a four-point outline grows by indent on every side.
std::vector<RPoint> indented(std::vector<RPoint> outline, double indent)
{
    if (outline.size() != 4 || indent == 0)
        return outline;
    double minX = outline[0].x, minY = outline[0].y;
    for (const RPoint& p : outline) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
    }
    for (RPoint& p : outline) {
        p.x += p.x == minX ? -indent : indent;
        p.y += p.y == minY ? -indent : indent;
    }
    return outline;
}

class DesignReader
{
public:
    DesignReader(CSolidDocument& document, DesignCatalogue& catalogue)
        : document_(document), catalogue_(catalogue)
    {
    }

    void read(pugi::xml_node design, int ceilingScale);

private:
    const CGridMapping& root() const { return *document_.ceiling->root; }

    void readCeiling(pugi::xml_node design, int ceilingScale);
    void readSolid(pugi::xml_node solid);
    void makeDefaults();
    void readViewState(pugi::xml_node element);
    void readFloor(pugi::xml_node element);
    void readWalls(pugi::xml_node solid, size_t storedOutlineSize);
    std::unique_ptr<CWall> readWall(pugi::xml_node element);
    Vec3f offsetOf(const std::vector<RPoint>& storedOutline) const;
    std::unique_ptr<CSolidFacility> readFacility(pugi::xml_node element, const Vec3f& offset,
                                                 int depth);
    void readLights(pugi::xml_node list, std::vector<std::unique_ptr<CSolidLight>>& lights,
                    const Vec3f& offset);
    void readLight(pugi::xml_node element, CSolidLight& light, const Vec3f& offset);
    CFacilityModel* modelOf(pugi::xml_node element);

    CSolidDocument& document_;
    DesignCatalogue& catalogue_;
    float solidScale_ = 1;
};

void DesignReader::read(pugi::xml_node design, int ceilingScale)
{
    document_.name = attributeText(design, "name$_a1");
    readCeiling(design, ceilingScale);
    pugi::xml_node solid = childElement(design, "solid$_dg");
    if (solid)
        readSolid(solid);
    else
        makeDefaults();
    if (document_.defaultSolidLights.empty())
        document_.defaultSolidLights.push_back(
            CSolidLight::makeMainLight(&document_, roomBounds(root())));
    if (document_.staticSolidSampleId > 0)
        catalogue_.loadStaticSample(document_.staticSolidSampleId);
    if (document_.viewState && document_.viewState->viewMode == SolidViewState::ChangeTop &&
        !root().children.empty())
        document_.viewState->viewMode = SolidViewState::Globe;
}

void DesignReader::readCeiling(pugi::xml_node design, int ceilingScale)
{
    auto ceiling = std::make_unique<SolidCeiling>();
    ceiling->room = &document_;
    ceiling->squareRoom = readBool(attributeText(design, "squareRoom$_ae"));
    ceiling->isBand = readBool(attributeText(design, "isBand$_ah"));
    ceiling->bandVertical = ceiling->isBand && readBool(attributeText(design, "bandVertical$_ak"));
    SolidCeiling& header = *ceiling;
    document_.ceiling = std::move(ceiling);
    header.root = readCeilingPlane(design, header, nullptr, ceilingScale, catalogue_);
}

void DesignReader::readSolid(pugi::xml_node solid)
{
    solidScale_ = hasAttribute(solid, "decimillimeter") ? 1.0f : 10.0f;
    document_.viewState = std::make_unique<SolidViewState>();
    readViewState(childElement(solid, "viewState$_dk"));
    document_.staticSolidSampleId = readInt(attributeText(solid, "staticSolidSampleId$_g8"));
    document_.staticSolidProjectedPoints =
        parsePointList(attributeText(solid, "staticSolidProjectedPoints$_g9"), 1);
    document_.staticSolidSampleImgSize = readIntPair(
        attributeText(solid, "staticSolidSampleImgSize$_ga"), document_.staticSolidSampleImgSize);
    std::vector<RPoint> storedOutline =
        parsePointList(attributeText(solid, "outlinePoints$_am"), solidScale_);
    readFloor(childElement(solid, "floor$_ct"));
    readWalls(solid, storedOutline.size());

    Vec3f offset = offsetOf(storedOutline);
    for (pugi::xml_node item : listItems(solid, "solidFacilities$_di")) {
        if (auto facility = readFacility(item, offset, 0))
            document_.solidFacilities.push_back(std::move(facility));
    }
    readLights(childElement(solid, "solidLights$_dj"), document_.solidLights, offset);
    readLights(childElement(solid, "defaultSolidLights"), document_.defaultSolidLights, offset);
}

void DesignReader::makeDefaults()
{
    CFacilityModel* seventh = catalogue_.builtInModel(7);
    if (!seventh)
        throw InvalidInput("a design without a solid part needs the seven built-in models");
    document_.floor = std::make_unique<SolidFloor>();
    document_.floor->facilityModel = seventh;
    CFacilityModel* sixth = catalogue_.builtInModel(6);
    CFacilityModel* third = catalogue_.builtInModel(3);
    CFacilityModel* fourth = catalogue_.builtInModel(4);
    for (size_t i = 0; i < root().indentedOutline.size(); ++i)
        document_.walls.push_back(CWall::makeDefault(static_cast<int>(i), sixth, third, fourth));
    document_.solidLights.push_back(CSolidLight::makeMainLight(&document_, roomBounds(root())));
}

// Stored positions are relative to the corner of the root plane's indented bounds at the time
// of writing; the writer stores the plain outline, so the indent rule is applied to it here to
// compare like with like. Positions then move only when the host moved the outline.
Vec3f DesignReader::offsetOf(const std::vector<RPoint>& storedOutline) const
{
    RRect stored;
    const RRect& current = root().indentedBounds;
    if (!boundsOf(indented(storedOutline, root().indent), stored) || root().indentedOutline.empty())
        return Vec3f();
    return {static_cast<float>(stored.left - current.left), 0,
            static_cast<float>(stored.top - current.top)};
}

// A mode value of an older design: 2 meant the globe view; other small values first person.
int viewModeOf(int stored)
{
    if (stored > 3)
        return stored;
    return stored == 2 ? SolidViewState::Globe : SolidViewState::FirstPerson;
}

int workModeOf(int stored)
{
    if (stored > 3)
        return stored;
    return stored == 1 ? SolidViewState::Designing : SolidViewState::Viewing;
}

Quat4f quaternionOf(const char* text)
{
    std::array<float, 4> v = readFourFloats(text);
    return {v[0], v[1], v[2], v[3]};
}

void DesignReader::readViewState(pugi::xml_node element)
{
    SolidViewState& state = *document_.viewState;
    const float f = solidScale_;
    state.viewMode = viewModeOf(readInt(attributeText(element, "viewMode$_dl")));
    state.workMode = workModeOf(readInt(attributeText(element, "workMode$_dm")));

    pugi::xml_node trackball = childElement(element, "trackball$_dn");
    state.trackballQuaternion = quaternionOf(attributeText(trackball, "currentQuaternion$_do"));
    state.trackballPosition = readVector(attributeText(trackball, "position$_cn"), f);
    state.displayFull = readBool(attributeText(trackball, "displayFull$_dp"));

    if (pugi::xml_node staticSolid = childElement(element, "staticSolid$_gd")) {
        state.staticSolidQuaternion =
            quaternionOf(attributeText(staticSolid, "currentQuaternion$_do"));
        state.staticSolidPosition = readVector(attributeText(staticSolid, "position$_cn"), f);
        state.ballTranslation = readVector(attributeText(staticSolid, "ballTranslation$_ge"), f);
    }

    pugi::xml_node firstPerson = childElement(element, "firstPerson$_dq");
    state.cameraYaw = readDouble(attributeText(firstPerson, "cameraYaw$_dr"));
    state.cameraPitch = readDouble(attributeText(firstPerson, "cameraPitch$_ds"));
    state.firstPersonPosition = readVector(attributeText(firstPerson, "position$_cn"), f);

    if (pugi::xml_node prefs = childElement(element, "displayPrefs$_gf")) {
        state.fov = clampedPreference(readDouble(attributeText(prefs, "fov")), kMinFov, kMaxFov,
                                      SolidViewState().fov);
        state.ambientColor = readInt(attributeText(prefs, "ambientColor$_d6"));
        state.eyeAboveFloor =
            clampedPreference(readDouble(attributeText(prefs, "eyeAboveFloor$_gg")),
                              kMinEyeAboveFloor, kMaxEyeAboveFloor, SolidViewState().eyeAboveFloor);
        state.roofUseLighting = readBool(attributeText(prefs, "roofUseLighting$_gh"));
        state.roofBackSemitransparent =
            readBool(attributeText(prefs, "roofBackSemitransparent$_gi"));
        state.roofBackAlphaPercent = readInt(attributeText(prefs, "roofBackAlphaPercent$_gj"));
        state.simpleLighting = readBool(attributeText(prefs, "simpleLighting$_gk"));
        state.invertTop = readBool(attributeText(prefs, "invertTop$_gl"));
        state.gammaCorrection = readBool(attributeText(prefs, "gammaCorrection$_gm"));
        state.lowestLayerHeight = readDouble(attributeText(prefs, "lowestLayerHeight$_gn"), 24000);
    }
}

CFacilityModel* DesignReader::modelOf(pugi::xml_node element)
{
    return catalogue_.facilityModel(readInt(attributeText(element, "facilityModelId$_fv")),
                                    readInt(attributeText(element, "facilityTypeId$_ck")));
}

IntSize scaledIntPair(const char* text, float scale)
{
    IntSize size = readIntPair(text);
    return {scaleInt(size.width, scale), scaleInt(size.height, scale)};
}

void DesignReader::readFloor(pugi::xml_node element)
{
    document_.floor = std::make_unique<SolidFloor>();
    document_.floor->facilityModel = modelOf(element);
    document_.floor->ceramicTileSize =
        scaledIntPair(attributeText(element, "ceramicTileSize$_cl"), solidScale_);
}

// Walls of the stored outline's edges first; edges the outline gained since get copies of the
// first wall's bands.
void DesignReader::readWalls(pugi::xml_node solid, size_t storedOutlineSize)
{
    size_t n = 0;
    for (pugi::xml_node item : listItems(solid, "walls$_dh")) {
        if (n >= storedOutlineSize)
            break;
        if (auto wall = readWall(item))
            document_.walls.push_back(std::move(wall));
        ++n;
    }
    for (; n < root().outlinePoints.size(); ++n) {
        if (document_.walls.empty())
            throw InvalidInput("the design has no wall to copy for the new outline edges");
        document_.walls.push_back(
            CWall::withPartsOf(static_cast<int>(n), *document_.walls.front()));
    }
}

std::unique_ptr<CWall> DesignReader::readWall(pugi::xml_node element)
{
    const float f = solidScale_;
    int index = readInt(attributeText(element, "index$_cq"));
    // A negative index names no edge either.
    if (index < 0 || static_cast<size_t>(index) >= root().outlinePoints.size())
        return nullptr;
    auto wall = std::make_unique<CWall>(index);
    for (pugi::xml_node item : listItems(element, "wallParts$_cr")) {
        auto part = std::make_unique<CWallPart>();
        CWallPartDefinition& d = part->definition;
        const char* unused = attributeText(item, "visible_unused$_ch");
        d.visible = readBool(*unused ? unused : attributeText(item, "visible"));
        d.height = readDouble(attributeText(item, "height$_cj")) * f;
        if (hasAttribute(item, "relativeTop$_ci"))
            d.relativeBottom =
                24000 - (readDouble(attributeText(item, "relativeTop$_ci")) + d.height);
        else
            d.relativeBottom = readDouble(attributeText(item, "relativeBottom$_fw"));
        part->ceramicTileSize = scaledIntPair(attributeText(item, "ceramicTileSize$_cl"), f);
        part->facilityModel = modelOf(item);
        if (wall->wallParts.size() == CWall::kBandPart && hasAttribute(item, "hasBand$_hb"))
            d.hasBand = readBool(attributeText(item, "hasBand$_hb"));
        wall->wallParts.push_back(std::move(part));
    }
    for (pugi::xml_node item : listItems(element, "flatFacilities$_cs")) {
        auto flat = std::make_unique<CFlatFacility>();
        flat->facilityModel = modelOf(item);
        flat->position = parsePoint(attributeText(item, "position$_cn"), f);
        if (f == 10)
            flat->position.y -= 24000;
        flat->flatSize = scaledIntPair(attributeText(item, "flatSize$_co"), f);
        wall->flatFacilities.push_back(std::move(flat));
    }
    return wall;
}

Vec3f plus(const Vec3f& a, const Vec3f& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

std::unique_ptr<CSolidFacility> DesignReader::readFacility(pugi::xml_node element,
                                                           const Vec3f& offset, int depth)
{
    if (depth >= kMaxDesignNesting)
        throw InvalidInput("facility groups are nested too deeply");
    const float f = solidScale_;
    auto facility = std::make_unique<CSolidFacility>();
    int typeId = readInt(attributeText(element, "facilityTypeId$_ck"));
    int modelId = readInt(attributeText(element, "facilityModelId$_fv"));
    if (typeId != 0 || modelId != 0) {
        facility->facilityModel = catalogue_.facilityModel(modelId, typeId);
        if (!facility->facilityModel)
            return nullptr;
    }
    facility->size = readVector(attributeText(element, "size$_cv"), f);
    facility->position = readVector(attributeText(element, "position$_cn"), f);
    facility->rotateDegree =
        static_cast<float>(readDouble(attributeText(element, "rotateDegree$_as")));
    facility->customZoom = readDouble(attributeText(element, "customZoom$_g4"), -1);
    facility->correctExtent = readVector(attributeText(element, "correctExtent$_g5"));

    int wallIndex = readInt(attributeText(element, "stickWallIndex$_cw"), -1);
    if (wallIndex >= 0 && static_cast<size_t>(wallIndex) < document_.walls.size()) {
        facility->stickWall = document_.walls[static_cast<size_t>(wallIndex)].get();
    } else {
        if (wallIndex >= 0) {
            facility->position = readVector(attributeText(element, "realPosition$_cy"), f);
            facility->rotateDegree =
                static_cast<float>(readDouble(attributeText(element, "realRotateDegree$_cz")));
        }
        facility->position = plus(facility->position, offset);
    }
    facility->emissive = readInt(attributeText(element, "emissive$_g6"));

    for (pugi::xml_node item : listItems(element, "children$_ez")) {
        if (auto child = readFacility(item, Vec3f(), depth + 1))
            facility->children.push_back(std::move(child));
    }
    if (!facility->hasContent())
        return nullptr;
    for (pugi::xml_node item : listItems(element, "customMaterials$_g7"))
        facility->customMaterials.push_back(
            std::make_unique<CustomMaterial>(readCustomMaterial(item, f, catalogue_)));
    return facility;
}

void DesignReader::readLights(pugi::xml_node list,
                              std::vector<std::unique_ptr<CSolidLight>>& lights,
                              const Vec3f& offset)
{
    for (pugi::xml_node item : list.children()) {
        lights.push_back(std::make_unique<CSolidLight>(&document_));
        readLight(item, *lights.back(), offset);
    }
}

void DesignReader::readLight(pugi::xml_node element, CSolidLight& light, const Vec3f& offset)
{
    const float f = solidScale_;
    bool isMain = readBool(attributeText(element, "isMain$_d1"));
    bool isVisible = readBool(attributeText(element, "isVisible$_d2"));
    int hostId = readInt(attributeText(element, "hostId$_d3"));
    CHost* host = nullptr;
    if (hostId >= 1) {
        host = root().hostById(hostId);
        if (!host)
            return;
    }
    light.type = readInt(attributeText(element, "type$_d4"));
    Vec3f p = readVector(attributeText(element, "position$_cn"), f);
    if (isMain) {
        RPoint centre = roomBounds(root()).centre();
        light.position = {static_cast<float>(centre.x), p.y, static_cast<float>(centre.y)};
    } else if (host) {
        // Over the lamp as drawn; the scene mirrors it later when the top is shown inverted.
        const RPoint place = vs::hostLightPlace(*host, false);
        light.position = {static_cast<float>(place.x), p.y, static_cast<float>(place.y)};
        host->light = &light;
    } else {
        light.position = plus(p, offset);
    }
    std::array<float, 4> d = readFourFloats(attributeText(element, "diffuseColor$_d5"));
    light.diffuseColor = {d[0], d[1], d[2], d[3]};
    light.radius = static_cast<float>(readDouble(attributeText(element, "radius$_d8")));
    light.attenuation = readVector(attributeText(element, "attenuation$_d9"));
    light.attenuation.y /= f;
    light.attenuation.z /= f * f;
    light.innerCone = static_cast<float>(readDouble(attributeText(element, "innerCone$_da")));
    light.outerCone = static_cast<float>(readDouble(attributeText(element, "outerCone$_db")));
    light.isMain = isMain;
    light.isVisible = isVisible;
    light.host = host;
}

/** True when `root` describes a room: it has a ceiling outline or a stored 3D part. */
bool isRoomDesign(pugi::xml_node root)
{
    const char* outline = attributeText(root, "outlinePoints$_am");
    return (outline != nullptr && *outline != 0) || childElement(root, "solid$_dg");
}

} // namespace

void readDesign(const std::string& utf8Text, CSolidDocument& document, int ceilingScale,
                DesignCatalogue& catalogue)
{
    if (ceilingScale < 1)
        throw InvalidInput("the ceiling scale must be at least 1");
    pugi::xml_document xml;
    pugi::xml_parse_result parsed =
        xml.load_buffer(utf8Text.data(), utf8Text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (parsed && elementDepth(xml, kMaxDesignXmlDepth) > kMaxDesignXmlDepth)
        throw InvalidInput("the design nests elements more than " +
                           std::to_string(kMaxDesignXmlDepth) + " levels deep");
    pugi::xml_node design = parsed ? xml.document_element() : pugi::xml_node();
    if (design && !isRoomDesign(design))
        throw InvalidInput(std::string("the text is no room design: its root <") + design.name() +
                           "> has neither a ceiling outline nor a solid part");
    DesignReader(document, catalogue).read(design, ceilingScale);
}

} // namespace vs
