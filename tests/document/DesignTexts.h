// Small design texts shared by the design reader and round-trip tests.
#pragma once

#include <string>

namespace designs {

/** A 6 m x 4 m rectangular room, grid 600 mm, origin at (0, 0); `extra` goes into the design
 *  element's start tag, `body` inside it. */
inline std::string room(const std::string& extra = "", const std::string& body = "")
{
    return "<design name='Kitchen' gridWidth='6000' gridHeight='6000' "
           "outlinePoints='0,0 60000,0 60000,40000 0,40000' " +
           extra + ">" + body + "</design>";
}

/** The smallest valid view state (decimillimetre solid part). */
inline std::string viewState(const std::string& attributes = "")
{
    return "<viewState " + attributes + "><trackball currentQuaternion='0,0,0,1'/></viewState>";
}

/** A solid element in decimillimetres storing the room's outline. */
inline std::string solid(const std::string& body, const std::string& attributes = "")
{
    return "<solid decimillimeter='1' outlinePoints='0,0 60000,0 60000,40000 0,40000' " +
           attributes + ">" + body + "</solid>";
}

/** solid() with one wall on edge 0 ahead of `body`, so the other edges get copies of it. */
inline std::string solidWithWall(const std::string& body, const std::string& attributes = "")
{
    return solid("<walls><wall index='0'/></walls>" + body, attributes);
}

} // namespace designs
