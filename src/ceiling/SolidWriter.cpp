#include "SolidWriter.h"

#include "catalogue/CFacilityModel.h"
#include "document/CGridMapping.h"
#include "document/CHost.h"
#include "document/CSolidDocument.h"
#include "document/CustomMaterialXml.h"
#include "document/PointText.h"
#include "document/SolidCeiling.h"
#include "document/StuckFacilityPlacement.h"
#include "document/XmlDocumentText.h"
#include "document/XmlValues.h"

namespace vs {
namespace {

void set(pugi::xml_node element, const char* name, const std::string& text)
{
    element.append_attribute(name) = text.c_str();
}

void setInt(pugi::xml_node element, const char* name, int value)
{
    set(element, name, formatInt(value));
}

void setDouble(pugi::xml_node element, const char* name, double value)
{
    set(element, name, formatDouble(value));
}

void setBool(pugi::xml_node element, const char* name, bool value)
{
    set(element, name, formatBool(value));
}

void setVector(pugi::xml_node element, const char* name, const Vec3f& value)
{
    set(element, name, formatVector(value));
}

int modelId(const CFacilityModel* model)
{
    return model ? model->id : 0;
}

// A stored size, or the model's own size when the stored width is 0 (and a model exists).
IntSize tileSizeOrModels(IntSize size, CFacilityModel* model)
{
    return size.width != 0 || !model ? size : model->defaultTileSize();
}

IntSize flatSizeOrModels(IntSize size, CFacilityModel* model)
{
    return size.width != 0 || !model ? size : model->defaultFlatSize();
}

void writeViewState(pugi::xml_node solid, const SolidViewState& state)
{
    pugi::xml_node view = solid.append_child("_dk");
    setInt(view, "_dl", state.viewMode);
    setInt(view, "_dm", state.workMode);
    set(view, "_gc", formatIntPair(state.pictureExtent));

    pugi::xml_node trackball = view.append_child("_dn");
    const Quat4f& q = state.trackballQuaternion;
    set(trackball, "_do", formatFourFloats(q.x, q.y, q.z, q.w));
    setVector(trackball, "_cn", state.trackballPosition);
    setBool(trackball, "_dp", state.displayFull);

    pugi::xml_node staticSolid = view.append_child("_gd");
    const Quat4f& s = state.staticSolidQuaternion;
    set(staticSolid, "_do", formatFourFloats(s.x, s.y, s.z, s.w));
    setVector(staticSolid, "_cn", state.staticSolidPosition);
    setVector(staticSolid, "_ge", state.ballTranslation);

    pugi::xml_node firstPerson = view.append_child("_dq");
    setDouble(firstPerson, "_dr", state.cameraYaw);
    setDouble(firstPerson, "_ds", state.cameraPitch);
    setVector(firstPerson, "_cn", state.firstPersonPosition);

    pugi::xml_node prefs = view.append_child("_gf");
    setDouble(prefs, "fov", state.fov);
    setInt(prefs, "_d6", state.ambientColor);
    setDouble(prefs, "_gg", state.eyeAboveFloor);
    setBool(prefs, "_gh", state.roofUseLighting);
    setBool(prefs, "_gi", state.roofBackSemitransparent);
    setInt(prefs, "_gj", state.roofBackAlphaPercent);
    setBool(prefs, "_gk", state.simpleLighting);
    setBool(prefs, "_gl", state.invertTop);
    setBool(prefs, "_gm", state.gammaCorrection);
    setDouble(prefs, "_gn", state.lowestLayerHeight);
}

void writeFloor(pugi::xml_node solid, const SolidFloor* floor)
{
    pugi::xml_node element = solid.append_child("_ct");
    CFacilityModel* model = floor ? floor->facilityModel : nullptr;
    setInt(element, "_fv", modelId(model));
    set(element, "_cl",
        formatIntPair(tileSizeOrModels(floor ? floor->ceramicTileSize : IntSize(), model)));
}

void writeWall(pugi::xml_node walls, const CWall& wall)
{
    pugi::xml_node element = walls.append_child("_cp");
    setInt(element, "_cq", wall.index);
    pugi::xml_node parts = element.append_child("_cr");
    for (const auto& part : wall.wallParts) {
        pugi::xml_node item = parts.append_child("_fx");
        setBool(item, "visible", part->writtenVisible());
        setDouble(item, "_fw", part->definition.relativeBottom);
        setDouble(item, "_cj", part->definition.height);
        setInt(item, "_fv", modelId(part->facilityModel));
        set(item, "_cl",
            formatIntPair(tileSizeOrModels(part->ceramicTileSize, part->facilityModel)));
        if (!part->definition.hasBand) // only a band switched off in the wall setup
            set(item, "_hb", "false"); // spelt out: an empty bool reads as the default
    }
    pugi::xml_node flats = element.append_child("_cs");
    for (const auto& flat : wall.flatFacilities) {
        pugi::xml_node item = flats.append_child("_cm");
        setInt(item, "_fv", modelId(flat->facilityModel));
        set(item, "_cn", formatPoint(flat->position));
        set(item, "_co", formatIntPair(flatSizeOrModels(flat->flatSize, flat->facilityModel)));
    }
}

void writeFacility(pugi::xml_node container, const CSolidDocument& document,
                   const CSolidFacility& facility)
{
    pugi::xml_node item = container.append_child("_cu");
    setInt(item, "_fv", modelId(facility.facilityModel));
    setVector(item, "_cv", facility.size);
    setVector(item, "_cn", facility.position);
    setDouble(item, "_as", facility.rotateDegree);
    setDouble(item, "_g4", facility.customZoom);
    setVector(item, "_g5", facility.correctExtent);
    if (facility.stickWall) {
        RoomPlacement room = roomPlacementOnWall(document, *facility.stickWall, facility.position,
                                                 facility.rotateDegree);
        setInt(item, "_cw", facility.stickWall->index);
        setVector(item, "_cy", room.position);
        setDouble(item, "_cz", room.rotateDegree);
    }
    setInt(item, "_g6", facility.emissive);
    pugi::xml_node children = item.append_child("_ez");
    for (const auto& child : facility.children)
        writeFacility(children, document, *child);
    appendCustomMaterials(item.append_child("_g7"), facility.customMaterials);
}

void writeLight(pugi::xml_node lights, const CSolidLight& light)
{
    pugi::xml_node item = lights.append_child("_d0");
    setBool(item, "_d1", light.isMain);
    setBool(item, "_d2", light.isVisible);
    if (light.host)
        setInt(item, "_d3", light.host->id);
    setInt(item, "_d4", light.type);
    setVector(item, "_cn", light.position);
    const Colorf& d = light.diffuseColor;
    const Colorf& a = light.ambientColor;
    const Colorf& s = light.specularColor;
    set(item, "_d5", formatFourFloats(d.r, d.g, d.b, d.a));
    set(item, "_d6", formatFourFloats(a.r, a.g, a.b, a.a));
    set(item, "_d7", formatFourFloats(s.r, s.g, s.b, s.a));
    setDouble(item, "_d8", light.radius);
    setVector(item, "_d9", light.attenuation);
    setDouble(item, "_da", light.innerCone);
    setDouble(item, "_db", light.outerCone);
    setDouble(item, "_dc", light.falloff);
    setVector(item, "_dd", light.direction);
    setBool(item, "_de", light.castShadows);
}

// A plane without an outline keeps the "no bounds yet" sentinel of 2^31 - 1; files get zeros.
RRect storedBounds(const CGridMapping* root)
{
    if (root == nullptr || root->outlinePoints.empty())
        return RRect();
    const RRect& b = root->alignedBoundRRect;
    return b.left <= b.right && b.top <= b.bottom ? b : RRect();
}

} // namespace

std::string writeSolid(const CSolidDocument& document)
{
    pugi::xml_document xml;
    pugi::xml_node solid = xml.append_child("_dg");
    const CGridMapping* root = document.ceiling ? document.ceiling->root.get() : nullptr;

    setInt(solid, "decimillimeter", 1);
    setInt(solid, "_g8", document.staticSolidSampleId);
    set(solid, "_g9", formatPointList(document.staticSolidProjectedPoints));
    set(solid, "_ga", formatIntPair(document.staticSolidSampleImgSize));
    set(solid, "_am", root ? formatPointList(root->outlinePoints) : std::string());
    set(solid, "_gb", formatRect(storedBounds(root)));

    writeViewState(solid, document.viewState ? *document.viewState : SolidViewState());
    writeFloor(solid, document.floor.get());

    pugi::xml_node walls = solid.append_child("_dh");
    for (const auto& wall : document.walls)
        writeWall(walls, *wall);
    pugi::xml_node facilities = solid.append_child("_di");
    for (const auto& facility : document.solidFacilities)
        writeFacility(facilities, document, *facility);
    pugi::xml_node lights = solid.append_child("_dj");
    for (const auto& light : document.solidLights)
        writeLight(lights, *light);

    return elementText(solid);
}

} // namespace vs
