#include "HostDesign.h"

#include "AtomicFile.h"
#include "DesignNames.h"
#include "HostText.h"
#include "IndentedXml.h"
#include "PlaneGrid.h"
#include "VantrelSolid.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace vhost {
namespace {

bool shortStyle(const pugi::xml_node& plane)
{
    return !plane.attribute("outlinePoints") && (plane.attribute("_am") || plane.attribute("_df"));
}

/** Writes an attribute of a new item in its plane's naming style. */
void put(pugi::xml_node item, bool shortNames, const char* longName, const char* shortName,
         const std::string& value)
{
    item.append_attribute(shortNames ? shortName : longName).set_value(value.c_str());
}

double numberAttr(const pugi::xml_node& node, const char* l, const char* s)
{
    const std::string v = attr(node, l, s);
    return v.empty() ? 0 : parseNumber(v, l);
}

int32_t intAttr(const pugi::xml_node& node, const char* l, const char* s)
{
    const double v = numberAttr(node, l, s);
    if (!(std::fabs(v) < 2e9))
        throw std::invalid_argument(std::string(l) + " is out of range");
    return int32_t(std::lround(v));
}

pugi::xml_node findPlane(const pugi::xml_node& plane, int32_t id)
{
    if (!attr(plane, "id", "_df").empty() && intAttr(plane, "id", "_df") == id)
        return plane;
    for (pugi::xml_node c : child(plane, "children", "_ez").children()) {
        if (c.type() != pugi::node_element)
            continue;
        if (pugi::xml_node found = findPlane(c, id))
            return found;
    }
    return {};
}

void collectHostIds(const pugi::xml_node& plane, int32_t& maxId)
{
    for (pugi::xml_node h : child(plane, "hosts", "_ao").children())
        if (h.type() == pugi::node_element && !attr(h, "id", "_df").empty())
            maxId = std::max(maxId, intAttr(h, "id", "_df"));
    for (pugi::xml_node c : child(plane, "children", "_ez").children())
        if (c.type() == pugi::node_element)
            collectHostIds(c, maxId);
}

DesignItem readItem(const pugi::xml_node& n, bool host)
{
    DesignItem item;
    item.id = attr(n, "id", "_df").empty() ? 0 : intAttr(n, "id", "_df");
    item.typeId = host ? intAttr(n, "hostTypeId", "_b3") : intAttr(n, "tileTypeId", "_ar");
    item.rotateDegree = intAttr(n, "rotateDegree", "_as");
    item.free = host && !attr(n, "rx", "_b4").empty();
    item.x = item.free ? numberAttr(n, "rx", "_b4") : intAttr(n, "gx", "_at");
    item.y = item.free ? numberAttr(n, "ry", "_b5") : intAttr(n, "gy", "_au");
    return item;
}

std::unique_ptr<pugi::xml_document> parse(const std::string& text, const std::string& what)
{
    auto document = std::make_unique<pugi::xml_document>();
    pugi::xml_parse_result parsed =
        document->load_buffer(text.data(), text.size(),
                              pugi::parse_default | pugi::parse_declaration | pugi::parse_comments);
    if (!parsed)
        throw std::invalid_argument(what + " is not XML: " + parsed.description() + " at offset " +
                                    std::to_string(parsed.offset));
    if (!document->document_element())
        throw std::invalid_argument(what + " holds no element");
    if (elementDepth(*document, VS_MAX_DESIGN_DEPTH) > VS_MAX_DESIGN_DEPTH)
        throw std::invalid_argument(what + " nests elements more than " +
                                    std::to_string(VS_MAX_DESIGN_DEPTH) + " levels deep");
    return document;
}

} // namespace

HostDesign HostDesign::fromText(const std::string& text)
{
    HostDesign design;
    design.document_ = parse(text, "the design");
    return design;
}

HostDesign HostDesign::load(const std::string& path)
{
    try {
        return fromText(readTextFile(path));
    } catch (const std::invalid_argument& error) {
        throw std::invalid_argument(path + ": " + error.what());
    }
}

std::string HostDesign::text() const
{
    return indentedText(*document_);
}

std::string HostDesign::solidText() const
{
    pugi::xml_node solid = child(document_->document_element(), "solid", "_dg");
    if (!solid)
        return {};
    std::ostringstream out;
    solid.print(out, "", pugi::format_raw);
    return out.str();
}

void HostDesign::replaceSolid(const std::string& solidXml)
{
    auto fragment = parse(solidXml, "the solid element");
    pugi::xml_node solid = fragment->document_element();
    if (std::strcmp(solid.name(), "_dg") != 0 && std::strcmp(solid.name(), "solid") != 0)
        throw std::invalid_argument(std::string("the solid element is <") + solid.name() +
                                    ">, not <_dg>");
    pugi::xml_node root = document_->document_element();
    while (pugi::xml_node old = child(root, "solid", "_dg"))
        root.remove_child(old);
    root.append_copy(solid);
}

std::string HostDesign::composedWith(const std::string& solidXml) const
{
    HostDesign copy;
    copy.document_ = std::make_shared<pugi::xml_document>();
    copy.document_->reset(*document_);
    copy.replaceSolid(solidXml);
    return copy.text();
}

void HostDesign::save(const std::string& path) const
{
    saveAtomically(path, text());
}

pugi::xml_node HostDesign::plane(int32_t id) const
{
    return findPlane(document_->document_element(), id);
}

pugi::xml_node HostDesign::requirePlane(int32_t id) const
{
    pugi::xml_node p = plane(id);
    if (!p)
        throw std::invalid_argument("the design has no ceiling plane " + std::to_string(id));
    return p;
}

pugi::xml_node HostDesign::findHost(int32_t planeId, int32_t hostId) const
{
    for (pugi::xml_node h : child(plane(planeId), "hosts", "_ao").children())
        if (h.type() == pugi::node_element && !attr(h, "id", "_df").empty() &&
            intAttr(h, "id", "_df") == hostId)
            return h;
    return {};
}

int32_t HostDesign::nextHostId() const
{
    int32_t maxId = 0;
    collectHostIds(document_->document_element(), maxId);
    if (maxId == std::numeric_limits<int32_t>::max())
        throw std::invalid_argument("the design has no free host id left");
    return maxId + 1;
}

int32_t HostDesign::addHost(int32_t planeId, int32_t typeId, double x, double y,
                            int32_t rotateDegree, bool isFree)
{
    pugi::xml_node p = requirePlane(planeId);
    const PlaneGrid grid = PlaneGrid::fromPlane(p);
    const int32_t id = nextHostId();
    const bool s = shortStyle(p);
    pugi::xml_node host = listOf(p, "hosts", "_ao").append_child("host");
    put(host, s, "id", "_df", std::to_string(id));
    put(host, s, "hostTypeId", "_b3", std::to_string(typeId));
    put(host, s, "rotateDegree", "_as", std::to_string(((rotateDegree % 360) + 360) % 360));
    if (isFree) {
        put(host, s, "rx", "_b4", numberText(x - double(grid.columnLine(grid.originCol))));
        put(host, s, "ry", "_b5", numberText(y - double(grid.rowLine(grid.originRow))));
    } else {
        put(host, s, "gx", "_at", std::to_string(std::lround(x) - grid.originCol));
        put(host, s, "gy", "_au", std::to_string(std::lround(y) - grid.originRow));
    }
    return id;
}

bool HostDesign::moveHost(int32_t planeId, int32_t hostId, double dx, double dy)
{
    pugi::xml_node h = findHost(planeId, hostId);
    if (!h)
        return false;
    if (!attr(h, "rx", "_b4").empty()) {
        setAttr(h, "rx", "_b4", numberText(numberAttr(h, "rx", "_b4") + dx));
        setAttr(h, "ry", "_b5", numberText(numberAttr(h, "ry", "_b5") + dy));
    } else {
        setAttr(h, "gx", "_at", std::to_string(intAttr(h, "gx", "_at") + std::lround(dx)));
        setAttr(h, "gy", "_au", std::to_string(intAttr(h, "gy", "_au") + std::lround(dy)));
    }
    return true;
}

bool HostDesign::deleteHost(int32_t planeId, int32_t hostId)
{
    pugi::xml_node h = findHost(planeId, hostId);
    if (!h)
        return false;
    h.parent().remove_child(h);
    return true;
}

bool HostDesign::rotateHost(int32_t planeId, int32_t hostId, int32_t degrees)
{
    pugi::xml_node h = findHost(planeId, hostId);
    if (!h)
        return false;
    const int64_t turned = (int64_t(intAttr(h, "rotateDegree", "_as")) + degrees) % 360;
    setAttr(h, "rotateDegree", "_as", std::to_string((turned + 360) % 360));
    return true;
}

int HostDesign::layTiles(int32_t planeId, int32_t typeId, int32_t rotateDegree,
                         const TileRange& cols, const TileRange& rows, const PanelSize& sizes)
{
    pugi::xml_node p = requirePlane(planeId);
    const PlaneGrid grid = PlaneGrid::fromPlane(p);
    pugi::xml_node list = listOf(p, "tiles", "_an");
    auto inside = [](const std::vector<TileRun>& runs, int32_t first, int32_t last) {
        return std::any_of(runs.begin(), runs.end(),
                           [&](const TileRun& r) { return r.first <= first && last <= r.last; });
    };
    for (pugi::xml_node t = list.first_child(); t;) {
        pugi::xml_node next = t.next_sibling();
        if (t.type() == pugi::node_element) {
            const int32_t gx = intAttr(t, "gx", "_at") + grid.originCol;
            const int32_t gy = intAttr(t, "gy", "_au") + grid.originRow;
            int32_t w = 0, h = 0, tower = 0;
            if (!attr(t, "widthInMm", "_me").empty()) {
                w = intAttr(t, "widthInMm", "_me");
                h = intAttr(t, "heightInMm", "_mf");
            } else if (!sizes || !sizes(intAttr(t, "tileTypeId", "_ar"), w, h, tower)) {
                w = h = 0; // unknown type: one cell
            }
            const int32_t turn = ((intAttr(t, "rotateDegree", "_as") % 360) + 360) % 360;
            if (turn == 90 || turn == 270)
                std::swap(w, h);
            const int32_t lastCol = gx + grid.columnsToCover(gx, w) - 1;
            const int32_t lastRow = gy + grid.rowsToCover(gy, h) - 1;
            if (inside(cols.runs, gx, lastCol) && inside(rows.runs, gy, lastRow))
                list.remove_child(t);
        }
        t = next;
    }
    int32_t w = 0, h = 0, tower = 0;
    if (sizes)
        sizes(typeId, w, h, tower);
    const bool s = shortStyle(p);
    int laid = 0;
    for (const TileRun& row : rows.runs) {
        for (const TileRun& col : cols.runs) {
            pugi::xml_node tile = list.append_child("tile");
            put(tile, s, "tileTypeId", "_ar", std::to_string(typeId));
            put(tile, s, "rotateDegree", "_as", std::to_string(rotateDegree));
            put(tile, s, "gx", "_at", std::to_string(int64_t(col.first) - grid.originCol));
            put(tile, s, "gy", "_au", std::to_string(int64_t(row.first) - grid.originRow));
            if (tower > 0)
                put(tile, s, "tower", "_fk", std::to_string(tower));
            ++laid;
        }
    }
    return laid;
}

std::vector<DesignItem> HostDesign::tiles(int32_t planeId) const
{
    std::vector<DesignItem> out;
    for (pugi::xml_node t : child(plane(planeId), "tiles", "_an").children())
        if (t.type() == pugi::node_element)
            out.push_back(readItem(t, false));
    return out;
}

std::vector<DesignItem> HostDesign::hosts(int32_t planeId) const
{
    std::vector<DesignItem> out;
    for (pugi::xml_node h : child(plane(planeId), "hosts", "_ao").children())
        if (h.type() == pugi::node_element)
            out.push_back(readItem(h, true));
    return out;
}

} // namespace vhost
