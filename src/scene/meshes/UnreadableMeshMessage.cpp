#include "scene/meshes/UnreadableMeshMessage.h"

namespace vs {
namespace {

constexpr size_t kMaxQuotedName = 80;

std::string quotedName(const std::string& name)
{
    std::string out;
    for (const char c : name)
        out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    if (out.size() <= kMaxQuotedName)
        return out;
    size_t cut = kMaxQuotedName;
    while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80)
        --cut; // not inside a UTF-8 sequence
    return out.substr(0, cut) + "\u2026";
}

} // namespace

std::string unreadableMeshMessage(int modelId, const std::string& modelName, const std::string& why)
{
    return "VantrelSolid: model " + std::to_string(modelId) + " \"" + quotedName(modelName) +
           "\": mesh cannot be read: " + why + "; drawn as a box";
}

} // namespace vs
