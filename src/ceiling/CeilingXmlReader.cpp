#include "CeilingXmlReader.h"

#include "DesignReader.h"
#include "catalogue/CCandyType.h"
#include "ceiling/CeilingLoad.h"
#include "document/CGridMapping.h"
#include "document/DesignCatalogue.h"
#include "document/PointText.h"
#include "document/XmlNames.h"
#include "document/XmlValues.h"
#include "platform/Errors.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vs {
namespace {

// Ceiling numbers feed grid arithmetic done in ints: NaN, infinities and absurd magnitudes
// are refused where they are read.
double checkedLength(double value, const char* what)
{
    if (!std::isfinite(value) || std::fabs(value) > kMaxCeilingCoordinate)
        throw InvalidInput(std::string("ceiling value out of range: ") + what);
    return value;
}

int checkedGridIndex(int value, const char* what)
{
    if (value < -kMaxGridIndex || value > kMaxGridIndex)
        throw InvalidInput(std::string("grid index out of range: ") + what);
    return value;
}

RPoint checkedPoint(const RPoint& p, const char* what)
{
    return {checkedLength(p.x, what), checkedLength(p.y, what)};
}

double scaledDouble(pugi::xml_node element, const char* name, int scale)
{
    return checkedLength(readDouble(attributeText(element, name)) * scale, name);
}

int scaledInt(pugi::xml_node element, const char* name, int scale)
{
    return scaleInt(readInt(attributeText(element, name)), scale);
}

RPoint readTriplePoint(pugi::xml_node element, const char* name)
{
    std::array<double, 3> v = readTriple(attributeText(element, name));
    return checkedPoint({v[0], v[1]}, name);
}

// Ascending by index with unique indices, as the grid arithmetic expects; of repeated indices
// the first in document order stays (the one a linear lookup would have found).
std::vector<SpecialGridCol> readSpecials(pugi::xml_node element, const char* name, int scale)
{
    std::vector<SpecialGridCol> specials;
    for (auto [index, size] : readIndexSizeList(attributeText(element, name), scale)) {
        if (size < 1 || size > kMaxCeilingCoordinate)
            throw InvalidInput(std::string("special grid size out of range: ") + name);
        specials.push_back({checkedGridIndex(index, name), size});
    }
    std::stable_sort(
        specials.begin(), specials.end(),
        [](const SpecialGridCol& a, const SpecialGridCol& b) { return a.index < b.index; });
    specials.erase(std::unique(specials.begin(), specials.end(),
                               [](const SpecialGridCol& a, const SpecialGridCol& b) {
                                   return a.index == b.index;
                               }),
                   specials.end());
    return specials;
}

// The outline's extent in cells of the default size must stay within kMaxCellsPerAxis, so that
// no later step walks or allocates per cell without bound.
void checkGridExtent(const CGridMapping& plane)
{
    if (plane.outlinePoints.empty())
        return;
    if (plane.gridWidth < 1 || plane.gridHeight < 1)
        throw InvalidInput("a ceiling plane needs grid sizes of at least 1");
    double minX = plane.outlinePoints[0].x, maxX = minX;
    double minY = plane.outlinePoints[0].y, maxY = minY;
    for (const RPoint& p : plane.outlinePoints) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    // Rotation can turn the longer side onto either axis; the indent grows both.
    double extent =
        std::max(maxX - minX, maxY - minY) * std::sqrt(2.0) + 2 * std::fabs(plane.indent);
    if (extent / plane.gridWidth > kMaxCellsPerAxis || extent / plane.gridHeight > kMaxCellsPerAxis)
        throw InvalidInput("a ceiling plane spans too many grid cells");
}

// Load step 1.
void readPlaneValues(pugi::xml_node element, CGridMapping& plane, int scale)
{
    plane.id = readInt(attributeText(element, "id$_df"));
    plane.gridWidth = scaledInt(element, "gridWidth$_ag", scale);
    plane.gridHeight = scaledInt(element, "gridHeight$_af", scale);
    const std::vector<RPoint> outline =
        parsePointList(attributeText(element, "outlinePoints$_am"), scale);
    if (outline.size() > kMaxOutlinePoints)
        throw InvalidInput("a ceiling outline of " + std::to_string(outline.size()) +
                           " points; at most " + std::to_string(kMaxOutlinePoints) + " are read");
    for (const RPoint& p : outline)
        plane.outlinePoints.push_back(checkedPoint(p, "outlinePoints"));
    plane.specialGridCols = readSpecials(element, "specialGridCols$_et", scale);
    plane.specialGridRows = readSpecials(element, "specialGridRows$_eu", scale);
    if (hasAttribute(element, "realGridOffset$_es"))
        plane.realGridOffset = checkedPoint(
            parsePoint(attributeText(element, "realGridOffset$_es"), scale), "realGridOffset");
    if (hasAttribute(element, "hoist$_en")) {
        plane.hoist = scaledDouble(element, "hoist$_en", scale);
        plane.indent = scaledDouble(element, "indent$_ep", scale);
        plane.bendHeight = scaledDouble(element, "bendHeight$_eq", scale);
        plane.rotateDegree = scaledDouble(element, "rotateDegree$_as", 1);
    }
    checkGridExtent(plane);
}

// Load step 2.
void readDock(pugi::xml_node element, CGridMapping& plane)
{
    const char* dock = attributeText(element, "dock$_er");
    if (!*dock)
        return;
    if (!plane.parent)
        throw InvalidInput("the root ceiling plane cannot be docked");
    std::vector<int> numbers;
    for (double v : parseNumberList(dock)) {
        if (!std::isfinite(v) || std::fabs(v) > kMaxGridIndex)
            throw InvalidInput("dock names a grid line out of range");
        numbers.push_back(static_cast<int>(v));
    }
    resolveDock(plane, numbers);
}

std::unique_ptr<CSectionLine> readSectionLine(pugi::xml_node item, CGridMapping& plane,
                                              DesignCatalogue& catalogue)
{
    auto line = std::make_unique<CSectionLine>();
    line->pt1 = readTriplePoint(item, "pt1$_dt");
    line->pt2 = readTriplePoint(item, "pt2$_du");
    line->leftAngle = checkedLength(readDouble(attributeText(item, "leftAngle$_ef")), "leftAngle");
    line->rightAngle =
        checkedLength(readDouble(attributeText(item, "rightAngle$_eg")), "rightAngle");
    line->sectionBarTypeId = readInt(attributeText(item, "sectionBarTypeId$_ee"));
    line->candyType = catalogue.candyType(line->sectionBarTypeId);
    line->owner = &plane;
    return line;
}

std::unique_ptr<CSplitLine> readSplitLine(pugi::xml_node item, CGridMapping& plane,
                                          DesignCatalogue& catalogue)
{
    auto line = std::make_unique<CSplitLine>();
    line->pos = checkedLength(readDouble(attributeText(item, "pos$_f6")), "pos");
    line->hoistSide = readInt(attributeText(item, "hoistSide$_em"));
    line->hoist = readInt(attributeText(item, "hoist$_en"));
    line->installType = readInt(attributeText(item, "installType$_eo"));
    line->sectionBarTypeId = readInt(attributeText(item, "sectionBarTypeId$_ee"));
    line->candyType = catalogue.candyType(line->sectionBarTypeId);
    line->pt1 = readTriplePoint(item, "pt1$_dt");
    line->pt2 = readTriplePoint(item, "pt2$_du");
    line->owner = &plane;
    pugi::xml_node section = childElement(item, "sectionLine");
    if (section)
        line->sectionLine = readSectionLine(section, plane, catalogue);
    return line;
}

// Load step 3.
void readSplit(pugi::xml_node element, CGridMapping& plane, DesignCatalogue& catalogue)
{
    if (!hasAttribute(element, "horizontalSplit$_ev"))
        return;
    plane.horizontalSplit = readBool(attributeText(element, "horizontalSplit$_ev"));
    for (pugi::xml_node item : listItems(element, "splitLines$_ew"))
        plane.splitLines.push_back(readSplitLine(item, plane, catalogue));
    plane.installType = readInt(attributeText(element, "installType$_eo"));
    plane.trusteeSectionBarTypeId = readInt(attributeText(element, "trusteeSectionBarTypeId$_ex"));
    for (pugi::xml_node item : listItems(element, "trusteeSectionLines$_ey"))
        plane.trusteeSectionLines.push_back(readSectionLine(item, plane, catalogue));
}

// Tiles and hosts are the bulk of a design: their attributes are read in one pass each.
enum CandyAttribute {
    TileTypeId,
    HostTypeId,
    RotateDegree,
    Gx,
    Gy,
    Tower,
    Side,
    WidthInMm,
    HeightInMm,
    Rx,
    Ry,
    HostId
};

const AttributeNames& candyAttributeNames()
{
    static const AttributeNames names{
        "tileTypeId$_ar", "hostTypeId$_b3", "rotateDegree$_as", "gx$_at", "gy$_au", "tower$_fk",
        "side",           "widthInMm$_me",  "heightInMm$_mf",   "rx$_b4", "ry$_b5", "id$_df"};
    return names;
}

double scaledLength(const char* text, int scale, const char* what)
{
    return checkedLength(readDouble(text) * scale, what);
}

// The values tiles and hosts share.
void readCandyValues(const AttributeNames::Values& v, CCandy& candy, int scale)
{
    candy.rotateDegree = readInt(v[RotateDegree]);
    candy.tower = *v[Tower] ? scaleInt(readInt(v[Tower]), scale) : 0;
    candy.side = *v[Side] ? readInt(v[Side]) : -1;
}

void readCell(const AttributeNames::Values& v, CCandy& candy)
{
    candy.gx = checkedGridIndex(readInt(v[Gx]), "gx");
    candy.gy = checkedGridIndex(readInt(v[Gy]), "gy");
}

// Load step 5.
void readTiles(pugi::xml_node element, CGridMapping& plane, int scale, DesignCatalogue& catalogue)
{
    for (pugi::xml_node item : listItems(element, "tiles$_an")) {
        AttributeNames::Values v = candyAttributeNames().read(item);
        CCandyType* type = catalogue.candyType(readInt(v[TileTypeId]));
        if (!type)
            continue;
        auto tile = std::make_unique<CTile>();
        tile->candyType = type;
        readCandyValues(v, *tile, scale);
        readCell(v, *tile);
        if (*v[WidthInMm]) {
            tile->width = scaleInt(readInt(v[WidthInMm]), scale);
            tile->height = scaleInt(readInt(v[HeightInMm]), scale);
            if (tile->width < 0 || tile->height < 0 || tile->width > kMaxCeilingCoordinate ||
                tile->height > kMaxCeilingCoordinate)
                throw InvalidInput("tile size out of range");
        } else {
            tile->width = type->width;
            tile->height = type->height;
        }
        addLoadedTile(plane, std::move(tile));
    }
}

// Load step 6.
void readHosts(pugi::xml_node element, CGridMapping& plane, int scale, DesignCatalogue& catalogue)
{
    for (pugi::xml_node item : listItems(element, "hosts$_ao")) {
        AttributeNames::Values v = candyAttributeNames().read(item);
        CCandyType* type = catalogue.candyType(readInt(v[HostTypeId]));
        if (!type)
            continue;
        auto host = std::make_unique<CHost>();
        host->candyType = type;
        readCandyValues(v, *host, scale);
        if (*v[Rx]) {
            // Relative to the alignedBoundRRect corner; addLoadedHost makes it absolute.
            host->freePosition = true;
            host->rect.left = scaledLength(v[Rx], scale, "rx");
            host->rect.top = scaledLength(v[Ry], scale, "ry");
        } else {
            readCell(v, *host);
        }
        host->id = readInt(v[HostId]);
        addLoadedHost(plane, std::move(host));
    }
}

} // namespace

std::unique_ptr<CGridMapping> readCeilingPlane(pugi::xml_node element, SolidCeiling& ceiling,
                                               CGridMapping* parent, int scale,
                                               DesignCatalogue& catalogue, int depth)
{
    if (depth >= kMaxDesignNesting)
        throw InvalidInput("ceiling planes are nested too deeply");
    auto plane = std::make_unique<CGridMapping>(&ceiling, parent);
    readPlaneValues(element, *plane, scale);
    readDock(element, *plane);
    readSplit(element, *plane, catalogue);
    finishOutlines(*plane);
    readTiles(element, *plane, scale, catalogue);
    readHosts(element, *plane, scale, catalogue);
    for (pugi::xml_node item : listItems(element, "children$_ez"))
        plane->children.push_back(
            readCeilingPlane(item, ceiling, plane.get(), scale, catalogue, depth + 1));
    finishPlaneTree(*plane);
    return plane;
}

} // namespace vs
