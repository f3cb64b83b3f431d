#include "ProfileReader.h"

#include "document/ColourText.h"
#include "document/PointText.h"
#include "platform/Errors.h"
#include "platform/QuotedValue.h"

#include <pugixml.hpp>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace vs {
namespace {

// Where in the profile an item sits, for error messages ("contour 2, point 3").
class Place
{
public:
    explicit Place(std::string text) : text_(std::move(text)) {}
    Place item(const char* name, size_t index) const
    {
        return Place(text_ + (text_.empty() ? "" : ", ") + name + " " + std::to_string(index));
    }
    [[noreturn]] void fail(const std::string& what) const
    {
        throw InvalidInput("profile " + text_ + ": " + what);
    }

private:
    std::string text_;
};

template <typename Read> void forEachItem(const pugi::xml_node& list, Read read)
{
    size_t index = 0;
    for (pugi::xml_node item : list.children()) {
        if (item.type() == pugi::node_element)
            read(item, ++index);
    }
}

const char* text(const pugi::xml_node& node, const char* name)
{
    return node.attribute(name).value(); // "" when absent
}

bool readBool(const pugi::xml_node& node, const char* name)
{
    const char* value = text(node, name);
    return std::strcmp(value, "true") == 0 || std::strcmp(value, "TRUE") == 0;
}

int32_t readInt(const pugi::xml_node& node, const char* name, const Place& place)
{
    const char* value = text(node, name);
    errno = 0;
    char* end = nullptr;
    long long number = std::strtoll(value, &end, 10);
    if (errno == ERANGE || number < std::numeric_limits<int32_t>::min() ||
        number > std::numeric_limits<int32_t>::max())
        place.fail(std::string(name) + " " + quoteValue(value) + " is out of range");
    return static_cast<int32_t>(number);
}

void checkNumber(double value, const char* name, const Place& place)
{
    if (!(std::fabs(value) <= kMaxProfileMagnitude))
        place.fail(std::string(name) + " holds a number that is not finite or out of range");
}

double readNumber(const pugi::xml_node& node, const char* name, const Place& place)
{
    double value = parseDouble(text(node, name));
    checkNumber(value, name, place);
    return value;
}

double readPosition(const pugi::xml_node& node, const char* name, const Place& place)
{
    const char* value = text(node, name);
    if (!*value)
        return CCreases::kNotGiven;
    double number = parseDouble(value);
    if (number >= CCreases::kNotGiven) // written as the largest double, or rounded beyond it
        return CCreases::kNotGiven;
    checkNumber(number, name, place);
    return number;
}

std::optional<SectionBarMaterial> readMaterial(const pugi::xml_node& node, const char* colourName,
                                               const char* pictureName, const Place& place)
{
    const char* colour = text(node, colourName);
    const char* picture = text(node, pictureName);
    if (!*colour && !*picture)
        return std::nullopt;
    SectionBarMaterial material;
    material.pictureField = picture;
    try {
        material.colour = parseColourText(colour);
    } catch (const std::invalid_argument& error) {
        place.fail(error.what());
    }
    return material;
}

std::unique_ptr<VarRPoint> readPoint(const pugi::xml_node& node, const Place& place)
{
    std::vector<double> numbers = parseNumberList(text(node, "value"));
    for (double number : numbers)
        checkNumber(number, "value", place);
    if (numbers.size() < 2)
        place.fail("value needs at least two numbers");
    std::unique_ptr<VarRPoint> point = VarRPoint::fromNumbers(numbers);
    if (!point)
        place.fail("value of " + std::to_string(numbers.size()) +
                   " numbers is no profile point (2, 3, 13 or 18 numbers)");
    return point;
}

std::unique_ptr<CCreases> readCreases(const pugi::xml_node& node, const Place& place)
{
    auto crease = std::make_unique<CCreases>();
    crease->creaseTypeContourId = readInt(node, "creaseTypeContourId", place);
    crease->repeatCount = readInt(node, "repeatCount", place);
    crease->len = readNumber(node, "len", place);
    const char* scale = text(node, "scale");
    if (*scale) {
        std::vector<double> v = parseNumberList(scale);
        if (v.size() < 2)
            place.fail("scale needs two numbers");
        checkNumber(v[0], "scale", place);
        checkNumber(v[1], "scale", place);
        crease->scale = {v[0], v[1]};
    }
    crease->useOwnMaterial = readBool(node, "useOwnMaterial");
    crease->pos1 = readPosition(node, "pos1", place);
    crease->pos2 = readPosition(node, "pos2", place);
    crease->firstMaterial = readMaterial(node, "color1", "pictureField1", place);
    crease->secondMaterial = readMaterial(node, "color2", "pictureField2", place);
    return crease;
}

void readVertex(const pugi::xml_node& node, CContour& contour, const Place& place)
{
    auto vertex = std::make_unique<CSectionBarVertex>(&contour, readPoint(node, place));
    vertex->material = readMaterial(node, "color", "pictureField", place);
    vertex->isPivotPoint = readBool(node, "isPivotPoint");
    forEachItem(node.child("creaseses"), [&](const pugi::xml_node& item, size_t index) {
        vertex->creases.push_back(readCreases(item, place.item("crease", index)));
    });
    CSectionBarProfile& profile = *contour.profile;
    if (vertex->isPivotPoint && !contour.isCrease && !profile.pivot) {
        profile.pivot = vertex.get();
        profile.faceupHeightPart1 = readNumber(node, "faceupHeightPart1", place);
        profile.faceupHeightPart2 = readNumber(node, "faceupHeightPart2", place);
    }
    contour.vertices.push_back(std::move(vertex));
}

void readContour(const pugi::xml_node& node, CSectionBarProfile& profile, const Place& place)
{
    auto contour = std::make_unique<CContour>(&profile, readInt(node, "id", place),
                                              readBool(node, "isCrease"));
    forEachItem(node.child("points"), [&](const pugi::xml_node& item, size_t index) {
        readVertex(item, *contour, place.item("point", index));
    });
    profile.contours.push_back(std::move(contour));
}

} // namespace

std::unique_ptr<CSectionBarProfile> readProfile(const std::string& profileText)
{
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_buffer(profileText.data(), profileText.size(),
                                                         pugi::parse_default, pugi::encoding_utf8);
    if (!parsed)
        throw InvalidInput(std::string("profile text is not XML: ") + parsed.description() +
                           " at offset " + std::to_string(parsed.offset));
    pugi::xml_node root = document.document_element();
    pugi::xml_node list = std::strcmp(root.name(), "contours") == 0 ? root : root.child("contours");

    auto profile = std::make_unique<CSectionBarProfile>();
    forEachItem(list, [&](const pugi::xml_node& item, size_t index) {
        readContour(item, *profile, Place("").item("contour", index));
    });
    try {
        profile->finish();
    } catch (const std::invalid_argument& error) {
        throw InvalidInput(std::string("profile: ") + error.what());
    }
    return profile;
}

} // namespace vs
