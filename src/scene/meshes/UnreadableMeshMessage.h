// The one stderr line for a facility model whose mesh data cannot be read.
#pragma once

#include <string>

namespace vs {

/** "VantrelSolid: model <id> "<name>": mesh cannot be read: <why>; drawn as a box". Control
 *  characters of the name become spaces and a name longer than 80 bytes is cut (at a UTF-8
 *  character boundary) and ended with "…", so the message stays one short line. */
std::string unreadableMeshMessage(int modelId, const std::string& modelName,
                                  const std::string& why);

} // namespace vs
