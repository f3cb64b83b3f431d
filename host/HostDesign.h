// The host's own design: the ceiling layout it owns, with or without the module's `solid`
// element, held as an XML document. Edits reported by the module are mirrored here so that a
// saved design shows them when it is opened again.
#pragma once

#include "TileRange.h"

#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vhost {

/** A tile or host item of a plane as the design stores it (cells relative to the plane). */
struct DesignItem
{
    int32_t id = 0;
    int32_t typeId = 0;
    int32_t rotateDegree = 0;
    bool free = false;
    double x = 0; // gx or rx
    double y = 0; // gy or ry
};

/** Gives a panel type's width, height and tower height (decimillimetres); false when unknown. */
using PanelSize =
    std::function<bool(int32_t typeId, int32_t& width, int32_t& height, int32_t& tower)>;

class HostDesign
{
public:
    /** Parses a design text (UTF-8). Throws std::invalid_argument when it is not XML or nests
     *  elements more than VS_MAX_DESIGN_DEPTH levels deep (the module's limit). */
    static HostDesign fromText(const std::string& text);
    /** Reads a design file. Throws FileError or std::invalid_argument. */
    static HostDesign load(const std::string& path);

    /** Returns the whole design as XML text (UTF-8), indented as indentedText does: its size
     *  grows in proportion to the design's, however deeply it nests. */
    std::string text() const;
    /** Returns the `solid` element's XML, or "" when the design has none. */
    std::string solidText() const;
    /** Replaces the `solid` element (all of them) by the one in `solidXml`. Throws
     *  std::invalid_argument unless the text is one element named "_dg" or "solid". */
    void replaceSolid(const std::string& solidXml);
    /** Returns the whole design text with `solidXml` in place of its solid element; the design
     *  itself is not changed. */
    std::string composedWith(const std::string& solidXml) const;
    /** Writes the design to `path` atomically, keeping the previous file as `path` + "~". */
    void save(const std::string& path) const;

    /** Returns the id a new host item gets: one more than every item id in the design. */
    int32_t nextHostId() const;
    /** Adds a host item; (x, y) are the absolute cell when `isFree` is 0, else a grid-relative
     *  position. Returns its new id. Throws std::invalid_argument for an unknown plane. */
    int32_t addHost(int32_t planeId, int32_t typeId, double x, double y, int32_t rotateDegree,
                    bool isFree);
    /** Moves a host by cells or decimillimetres; false when the plane has no such host. */
    bool moveHost(int32_t planeId, int32_t hostId, double dx, double dy);
    /** Removes a host; false when the plane has no such host. */
    bool deleteHost(int32_t planeId, int32_t hostId);
    /** Turns a host by `degrees` (reduced to 0 to 359); false when the plane has no such host. */
    bool rotateHost(int32_t planeId, int32_t hostId, int32_t degrees);
    /**
     * Lays one tile per column run and row run, after removing the tiles that lie wholly inside
     * one column run and one row run. Returns the number laid. Throws std::invalid_argument for
     * an unknown plane.
     */
    int layTiles(int32_t planeId, int32_t typeId, int32_t rotateDegree, const TileRange& cols,
                 const TileRange& rows, const PanelSize& sizes);

    /** Returns the tiles of a plane in document order. */
    std::vector<DesignItem> tiles(int32_t planeId) const;
    /** Returns the hosts of a plane in document order. */
    std::vector<DesignItem> hosts(int32_t planeId) const;
    /** Returns the plane element with `id` (the root or any child plane), or an empty node. */
    pugi::xml_node plane(int32_t id) const;

private:
    HostDesign() = default;
    pugi::xml_node requirePlane(int32_t id) const;
    pugi::xml_node findHost(int32_t planeId, int32_t hostId) const;

    std::shared_ptr<pugi::xml_document> document_;
};

} // namespace vhost
