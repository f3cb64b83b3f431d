// DirectX X files in their binary encoding, turned into the text encoding token by token so that
// the text checks (counts, indices, nesting, materials) apply to them unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vs {

/** Reads the token stream of a binary X file ("xof 0303bin 0032" or "...0064") and writes the
 *  same tokens as text. Every token is checked against the bytes left before it is read: names,
 *  strings and integer and float lists whose counts run past the end are refused, as are unknown
 *  tokens, non-finite numbers, names and strings too long to be real, braces nested deeper than
 *  kMaxDepth or left open, templates that are not "template name { ... }" without nested braces
 *  or that hold more than kMaxTemplateTokens tokens, more than kMaxTemplates templates, and
 *  references ("{ name }") past kMaxReferences. GUIDs are left out: the text checks never read
 *  them. Names keep letters, digits, '_', '-', '.' and bytes from 0x80 up; any other byte is
 *  written as "%HH" (and '%' itself too), so that a name never reads as a comment, a brace or a
 *  separator in the text. */
class BinaryXText
{
public:
    /** How an X file's header says its body is encoded. */
    enum class Encoding { NotX, Text, Binary, CompressedText, CompressedBinary };

    /** The encoding named by the 16-byte header ("xof " version, "txt ", "bin ", "tzip" or
     *  "bzip", float size "0032" or "0064"); NotX for anything else. */
    static Encoding encoding(const uint8_t* data, size_t size);

    /** Largest binary file read, in bytes: a mesh of a million vertices with normals, texture
     *  coordinates and two million triangles takes about 64 MiB; furniture takes well under 1. */
    static constexpr size_t kMaxFileBytes = 64u << 20;
    static constexpr int kMaxDepth = 64;
    static constexpr size_t kMaxNameBytes = 1024;
    static constexpr size_t kMaxStringBytes = 4096;
    static constexpr int kMaxTemplates = 1024;
    static constexpr int kMaxTemplateTokens = 4096;
    static constexpr int kMaxReferences = 65536;

    /** The text form of the binary X file data[0, size) (header included), or an empty string
     *  with the reason in `error` (one short English phrase) when the file is not a sound
     *  binary X file. Never throws for bad data. */
    static std::string toText(const uint8_t* data, size_t size, std::string& error);
};

} // namespace vs
