#include "plugin/StaticSample.h"

#include "document/CHollowPolygon.h"
#include "document/CSolidDocument.h"
#include "document/PointText.h"
#include "platform/Picture.h"
#include "samples/StaticSampleHook.h"

#include <pugixml.hpp>

#include <cstdint>
#include <cstring>

namespace vs {
namespace {

constexpr int kMaskHeaderBytes = 24;

Picture decodeOrNone(const void* data, long long size)
{
    if (data == nullptr || size <= 0)
        return Picture();
    return Picture::decode(data, static_cast<size_t>(size));
}

/** The design format's strict bool: only "true"/"TRUE" and "false"/"FALSE" count. */
bool readBool(const char* text, bool fallback)
{
    if (std::strcmp(text, "true") == 0 || std::strcmp(text, "TRUE") == 0)
        return true;
    if (std::strcmp(text, "false") == 0 || std::strcmp(text, "FALSE") == 0)
        return false;
    return fallback;
}

void readMask(CSolidDocument& document, const void* block, int blockSize)
{
    if (block == nullptr) {
        document.sampleMask = Picture();
        return;
    }
    int32_t header[6];
    std::memcpy(header, block, sizeof header);
    document.sampleMask = decodeOrNone(static_cast<const unsigned char*>(block) + kMaskHeaderBytes,
                                       static_cast<long long>(blockSize) - kMaskHeaderBytes);
    document.staticSolidRect.left = header[1];
    document.staticSolidRect.top = header[2];
    document.staticSolidRect.right = static_cast<int>(int64_t(header[1]) + header[3]);
    document.staticSolidRect.bottom = static_cast<int>(int64_t(header[2]) + header[4]);
}

void readPolygons(CSolidDocument& document, const std::string& polygonXml)
{
    pugi::xml_document xml;
    xml.load_buffer(polygonXml.data(), polygonXml.size());
    pugi::xml_node polygons;
    for (pugi::xml_node child : xml.document_element().children())
        if (std::strcmp(child.name(), "polygons") == 0) {
            polygons = child;
            break;
        }
    document.staticPolygons.clear();
    for (pugi::xml_node item : polygons.children()) {
        auto polygon = std::make_unique<CHollowPolygon>();
        polygon->exclude = readBool(item.attribute("exclude").value(), true);
        polygon->points = parsePointList(item.attribute("points").value(), 1.0);
        document.staticPolygons.push_back(std::move(polygon));
    }
}

} // namespace

void applyStaticSample(CSolidDocument& document, int sampleId, const void* picture, int pictureSize,
                       const void* block, int blockSize, const std::string& polygonXml)
{
    // A block too short for its header has no rectangle to read: reading it would read the
    // host's memory beyond what it handed over. Refuse before anything changes.
    if (block != nullptr && blockSize < kMaskHeaderBytes)
        throw std::invalid_argument("sample mask block of " + std::to_string(blockSize) +
                                    " bytes is shorter than its 24-byte header");
    document.staticSolidSampleId = sampleId;
    document.samplePhoto = decodeOrNone(picture, pictureSize);
    readMask(document, block, blockSize);
    readPolygons(document, polygonXml);
    // A 3D view showing the document rebuilds its change-top pictures and redraws.
    refreshStaticSampleView(document);
}

} // namespace vs
