// Builds profile texts for the profile tests.
#pragma once

#include "catalogue/CSectionBarProfile.h"
#include "catalogue/ProfileReader.h"

#include <initializer_list>
#include <memory>
#include <string>

namespace profilexml {

/** A vertex element with its value, further attributes and crease elements. */
inline std::string point(const std::string& value, const std::string& attributes = "",
                         const std::string& creases = "")
{
    std::string text = "<point value=\"" + value + "\" " + attributes;
    if (creases.empty())
        return text + "/>";
    return text + "><creaseses>" + creases + "</creaseses></point>";
}

/** A crease element with the given attributes. */
inline std::string crease(const std::string& attributes)
{
    return "<creases " + attributes + "/>";
}

/** A contour element holding the points. */
inline std::string contour(int id, bool isCrease, std::initializer_list<std::string> points)
{
    std::string text = "<contour id=\"" + std::to_string(id) + "\"" +
                       (isCrease ? " isCrease=\"true\"" : "") + "><points>";
    for (const std::string& p : points)
        text += p;
    return text + "</points></contour>";
}

/** A profile text holding the contours. */
inline std::string profile(std::initializer_list<std::string> contours)
{
    std::string text = "<profile><contours>";
    for (const std::string& c : contours)
        text += c;
    return text + "</contours></profile>";
}

/** Reads a profile text. */
inline std::unique_ptr<CSectionBarProfile> read(const std::string& text)
{
    return vs::readProfile(text);
}

} // namespace profilexml
