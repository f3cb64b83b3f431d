#include "RibReader.h"

#include "../include/ri.h"
#include "Errors.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <zlib.h>

namespace ri {

namespace {

/// Positional arguments of each request, as RIB writes them: i int, f float, s string,
/// I int array, F float array, S string array, h handle (number or string), c colour (array
/// or three numbers), b basis (name or matrix). Requests not listed take only a parameter list.
const std::map<std::string, std::string>& signatures()
{
    static const std::map<std::string, std::string> table = {
        {"Declare", "ss"},
        {"FrameBegin", "i"},
        {"Format", "iif"},
        {"FrameAspectRatio", "f"},
        {"ScreenWindow", "ffff"},
        {"CropWindow", "ffff"},
        {"Projection", "s"},
        {"Clipping", "ff"},
        {"ClippingPlane", "ffffff"},
        {"DepthOfField", "fff"},
        {"Shutter", "ff"},
        {"PixelVariance", "f"},
        {"PixelSamples", "ff"},
        {"PixelFilter", "sff"},
        {"Exposure", "ff"},
        {"Imager", "s"},
        {"Quantize", "siiif"},
        {"Display", "sss"},
        {"DisplayChannel", "s"},
        {"Hider", "s"},
        {"ColorSamples", "FF"},
        {"RelativeDetail", "f"},
        {"Option", "s"},
        {"Color", "c"},
        {"Opacity", "c"},
        {"TextureCoordinates", "ffffffff"},
        {"LightSource", "sh"},
        {"AreaLightSource", "sh"},
        {"Illuminate", "hi"},
        {"Surface", "s"},
        {"Atmosphere", "s"},
        {"Interior", "s"},
        {"Exterior", "s"},
        {"Displacement", "s"},
        {"Deformation", "s"},
        {"ShadingRate", "f"},
        {"ShadingInterpolation", "s"},
        {"Matte", "i"},
        {"Bound", "F"},
        {"Detail", "F"},
        {"DetailRange", "ffff"},
        {"GeometricApproximation", "sf"},
        {"GeometricRepresentation", "s"},
        {"Orientation", "s"},
        {"Sides", "i"},
        {"Transform", "F"},
        {"ConcatTransform", "F"},
        {"Perspective", "f"},
        {"Translate", "fff"},
        {"Rotate", "ffff"},
        {"Scale", "fff"},
        {"Skew", "fffffff"},
        {"CoordinateSystem", "s"},
        {"CoordSysTransform", "s"},
        {"Attribute", "s"},
        {"GeneralPolygon", "I"},
        {"PointsPolygons", "II"},
        {"PointsGeneralPolygons", "III"},
        {"Basis", "bibi"},
        {"Patch", "s"},
        {"PatchMesh", "sisis"},
        {"NuPatch", "iiFffiiFff"},
        {"TrimCurve", "IIFFFIFFF"},
        {"Sphere", "ffff"},
        {"Cone", "fff"},
        {"Cylinder", "ffff"},
        {"Hyperboloid", "fffffff"},
        {"Paraboloid", "ffff"},
        {"Disk", "fff"},
        {"Torus", "fffff"},
        {"Curves", "sIs"},
        {"Procedural", "sSF"},
        {"Geometry", "s"},
        {"SubdivisionMesh", "sIISIIF"},
        {"Blobby", "iIFS"},
        {"SolidBegin", "s"},
        {"ObjectBegin", "h"},
        {"ObjectInstance", "h"},
        {"MotionBegin", "F"},
        {"MakeTexture", "sssssff"},
        {"MakeBump", "sssssff"},
        {"MakeLatLongEnvironment", "sssff"},
        {"MakeCubeFaceEnvironment", "sssssssfsff"},
        {"MakeShadow", "ss"},
        {"MakeBrickMap", "Ss"},
        {"ErrorHandler", "s"},
        {"Resource", "ss"},
        {"ArchiveBegin", "s"},
        {"IfBegin", "s"},
        {"ElseIf", "s"},
        {"ReadArchive", "s"},
        {"version", "f"},
    };
    return table;
}

const std::set<std::string>& plainRequests()
{
    static const std::set<std::string> s = {"WorldBegin",     "WorldEnd",      "FrameEnd",
                                            "AttributeBegin", "AttributeEnd",  "TransformBegin",
                                            "TransformEnd",   "Identity",      "ReverseOrientation",
                                            "SolidEnd",       "ObjectEnd",     "MotionEnd",
                                            "ArchiveEnd",     "ResourceBegin", "ResourceEnd",
                                            "Else",           "IfEnd",         "Polygon",
                                            "Points"};
    return s;
}

bool basisByName(const std::string& name, std::vector<float>& m)
{
    const RtBasis* b = name == "bezier"        ? &RiBezierBasis
                       : name == "b-spline"    ? &RiBSplineBasis
                       : name == "catmull-rom" ? &RiCatmullRomBasis
                       : name == "hermite"     ? &RiHermiteBasis
                       : name == "power"       ? &RiPowerBasis
                                               : nullptr;
    if (!b)
        return false;
    m.assign(&(*b)[0][0], &(*b)[0][0] + 16);
    return true;
}

bool readAll(const std::string& path, std::string& out, std::string& error)
{
    if (path == "-") {
        out.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        // Standard input may itself be compressed.
        if (out.size() < 2 || static_cast<unsigned char>(out[0]) != 0x1f ||
            static_cast<unsigned char>(out[1]) != 0x8b)
            return true;
        z_stream zs{};
        if (inflateInit2(&zs, 15 + 32) != Z_OK) {
            error = "cannot decompress standard input";
            return false;
        }
        std::string raw;
        raw.swap(out);
        zs.next_in = reinterpret_cast<Bytef*>(raw.data());
        zs.avail_in = uInt(raw.size());
        char buf[65536];
        int rc;
        do {
            zs.next_out = reinterpret_cast<Bytef*>(buf);
            zs.avail_out = sizeof buf;
            rc = inflate(&zs, Z_NO_FLUSH);
            out.append(buf, sizeof buf - zs.avail_out);
        } while (rc == Z_OK);
        inflateEnd(&zs);
        if (rc != Z_STREAM_END) {
            error = "standard input: damaged gzip stream";
            return false;
        }
        return true;
    }
    // gzread reads plain files unchanged and gzip files decompressed.
    gzFile f = gzopen(path.c_str(), "rb");
    if (!f) {
        error = "cannot open \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    char buf[65536];
    int n;
    while ((n = gzread(f, buf, sizeof buf)) > 0)
        out.append(buf, size_t(n));
    int err = 0;
    const char* msg = n < 0 ? gzerror(f, &err) : nullptr;
    gzclose(f);
    if (n < 0) {
        error = "\"" + path + "\": " + (msg ? msg : "read error");
        return false;
    }
    return true;
}

} // namespace

RibReader::RibReader(Context& context, Callback callback)
    : context_(context), callback_(std::move(callback))
{
}

bool RibReader::readFile(const std::string& path, std::string& error)
{
    std::string data;
    if (!readAll(path, data, error))
        return false;
    readBuffer(data, path == "-" ? "standard input" : path);
    return true;
}

void RibReader::readBuffer(const std::string& data, const std::string& name)
{
    data_ = data;
    name_ = name;
    pos_ = 0;
    line_ = 1;
    havePeek_ = false;
    parse();
}

void RibReader::error(int line, const std::string& message)
{
    ++errors_;
    report(RIE_SYNTAX, RIE_ERROR, name_ + ":" + std::to_string(line) + ": " + message);
}

RibReader::Token RibReader::next()
{
    if (havePeek_) {
        havePeek_ = false;
        return peek_;
    }
    Token t;
    const size_t n = data_.size();
    auto byte = [&](size_t k) { return static_cast<unsigned char>(data_[k]); };
    auto bigEndian = [&](size_t count, uint64_t& v) {
        if (pos_ + count > n)
            return false;
        v = 0;
        for (size_t k = 0; k < count; ++k)
            v = (v << 8) | byte(pos_ + k);
        pos_ += count;
        return true;
    };
    while (pos_ < n) {
        unsigned char c = byte(pos_);
        t.line = line_;
        if (c == '\n') {
            ++line_;
            ++pos_;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == 0) {
            ++pos_;
            continue;
        }
        if (c == '#') {
            while (pos_ < n && data_[pos_] != '\n')
                ++pos_;
            continue;
        }
        if (c == '[') {
            ++pos_;
            t.kind = Token::ArrayBegin;
            return t;
        }
        if (c == ']') {
            ++pos_;
            t.kind = Token::ArrayEnd;
            return t;
        }
        if (c == '"') {
            ++pos_;
            t.kind = Token::String;
            while (pos_ < n && data_[pos_] != '"') {
                char ch = data_[pos_++];
                if (ch == '\n')
                    ++line_;
                if (ch == '\\' && pos_ < n) {
                    char e = data_[pos_++];
                    switch (e) {
                    case 'n':
                        ch = '\n';
                        break;
                    case 't':
                        ch = '\t';
                        break;
                    case 'r':
                        ch = '\r';
                        break;
                    case 'b':
                        ch = '\b';
                        break;
                    case 'f':
                        ch = '\f';
                        break;
                    case '\n':
                        ++line_;
                        continue;
                    default:
                        if (e >= '0' && e <= '7') {
                            int v = e - '0';
                            for (int k = 0;
                                 k < 2 && pos_ < n && data_[pos_] >= '0' && data_[pos_] <= '7'; ++k)
                                v = v * 8 + (data_[pos_++] - '0');
                            ch = char(v);
                        } else {
                            ch = e;
                        }
                    }
                }
                t.text += ch;
            }
            if (pos_ >= n) {
                t.kind = Token::End;
                error(t.line, "unterminated string");
                return t;
            }
            ++pos_;
            return t;
        }
        if (c == '-' || c == '+' || c == '.' || (c >= '0' && c <= '9')) {
            const char* start = data_.c_str() + pos_;
            char* end = nullptr;
            double v = std::strtod(start, &end);
            if (end == start) {
                ++pos_;
                error(line_, std::string("unexpected character '") + char(c) + "'");
                continue;
            }
            pos_ += size_t(end - start);
            t.kind = Token::Number;
            t.number = v;
            return t;
        }
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') {
            size_t s = pos_;
            while (pos_ < n && (std::isalnum(byte(pos_)) || data_[pos_] == '_'))
                ++pos_;
            t.kind = Token::Name;
            t.text = data_.substr(s, pos_ - s);
            return t;
        }
        if (c >= 0200) {
            ++pos_;
            uint64_t v = 0;
            if (c <= 0217) { // encoded integer or fixed point
                size_t w = (c & 3) + 1, d = (c >> 2) & 3;
                if (!bigEndian(w, v))
                    break;
                int64_t sv = int64_t(v);
                if (v & (uint64_t(1) << (8 * w - 1)))
                    sv -= int64_t(uint64_t(1) << (8 * w));
                t.kind = Token::Number;
                t.number = double(sv) / std::pow(256.0, double(d));
                return t;
            }
            if (c <= 0237 || (c >= 0240 && c <= 0243)) { // strings
                size_t len = c <= 0237 ? size_t(c - 0220) : 0;
                if (c >= 0240) {
                    if (!bigEndian(size_t(c - 0240) + 1, v))
                        break;
                    len = size_t(v);
                }
                if (len > n - pos_)
                    break;
                t.kind = Token::String;
                t.text = data_.substr(pos_, len);
                pos_ += len;
                return t;
            }
            if (c == 0244 || c == 0245) { // float, double
                size_t w = c == 0244 ? 4 : 8;
                if (!bigEndian(w, v))
                    break;
                t.kind = Token::Number;
                if (w == 4) {
                    uint32_t u = uint32_t(v);
                    float fv;
                    std::memcpy(&fv, &u, 4);
                    t.number = fv;
                } else {
                    double dv;
                    std::memcpy(&dv, &v, 8);
                    t.number = dv;
                }
                return t;
            }
            if (c == 0246) { // encoded request
                if (!bigEndian(1, v))
                    break;
                auto it = requestCodes_.find(int(v));
                if (it == requestCodes_.end()) {
                    error(line_, "undefined request code " + std::to_string(v));
                    continue;
                }
                t.kind = Token::Name;
                t.text = it->second;
                return t;
            }
            if (c >= 0310 && c <= 0313) { // float array
                if (!bigEndian(size_t(c - 0310) + 1, v))
                    break;
                if (v > (n - pos_) / 4)
                    break;
                t.kind = Token::FloatArray;
                for (uint64_t k = 0; k < v; ++k) {
                    uint64_t bits = 0;
                    bigEndian(4, bits);
                    uint32_t u = uint32_t(bits);
                    float fv;
                    std::memcpy(&fv, &u, 4);
                    t.floats.push_back(fv);
                }
                return t;
            }
            if (c == 0314) { // define request code
                uint64_t code;
                if (!bigEndian(1, code))
                    break;
                Token s = next();
                if (s.kind != Token::String) {
                    error(line_, "bad request definition");
                    continue;
                }
                requestCodes_[int(code)] = s.text;
                continue;
            }
            if (c == 0315 || c == 0316) { // define string token
                uint64_t code;
                if (!bigEndian(size_t(c - 0315) + 1, code))
                    break;
                Token s = next();
                if (s.kind != Token::String) {
                    error(line_, "bad string definition");
                    continue;
                }
                stringCodes_[int(code)] = s.text;
                continue;
            }
            if (c == 0317 || c == 0320) { // interpolate string token
                if (!bigEndian(size_t(c - 0317) + 1, v))
                    break;
                auto it = stringCodes_.find(int(v));
                if (it == stringCodes_.end()) {
                    error(line_, "undefined string code " + std::to_string(v));
                    continue;
                }
                t.kind = Token::String;
                t.text = it->second;
                return t;
            }
            error(line_, "reserved byte " + std::to_string(int(c)));
            continue;
        }
        ++pos_;
        error(line_, std::string("unexpected character '") + char(c) + "'");
    }
    if (pos_ >= n)
        t.kind = Token::End;
    else {
        error(line_, "truncated binary value");
        pos_ = n;
        t.kind = Token::End;
    }
    return t;
}

int RibReader::handle(const std::string& kind, const std::string& key)
{
    auto it = handles_.find(kind + ":" + key);
    if (it != handles_.end())
        return it->second;
    int id = kind == "light" ? ++context_.nextLight : ++context_.nextObject;
    handles_[kind + ":" + key] = id;
    return id;
}

bool RibReader::readValueTokens(Token& first, std::vector<Token>& values, bool& array)
{
    array = false;
    if (first.kind == Token::FloatArray) {
        array = true;
        for (float f : first.floats) {
            Token t;
            t.kind = Token::Number;
            t.number = f;
            values.push_back(t);
        }
        return true;
    }
    if (first.kind == Token::Number || first.kind == Token::String) {
        values.push_back(first);
        return true;
    }
    if (first.kind != Token::ArrayBegin)
        return false;
    array = true;
    for (;;) {
        Token t = next();
        if (t.kind == Token::ArrayEnd)
            return true;
        if (t.kind == Token::FloatArray) {
            for (float f : t.floats) {
                Token x;
                x.kind = Token::Number;
                x.number = f;
                values.push_back(x);
            }
            continue;
        }
        if (t.kind != Token::Number && t.kind != Token::String) {
            peek_ = t;
            havePeek_ = true;
            return false;
        }
        values.push_back(t);
    }
}

bool RibReader::readArgument(char code, Request& q)
{
    Token t = next();
    std::vector<Token> values;
    bool array = false;
    if (code == 'c') {
        // A colour: an array, or three bare numbers.
        if (t.kind == Token::Number) {
            std::vector<float> c{float(t.number)};
            for (int k = 0; k < 2; ++k) {
                Token u = next();
                if (u.kind != Token::Number)
                    return false;
                c.push_back(float(u.number));
            }
            q.fa(c.data(), 3);
            return true;
        }
        if (!readValueTokens(t, values, array) || values.size() != 3)
            return false;
        std::vector<float> c;
        for (const Token& v : values) {
            if (v.kind != Token::Number)
                return false;
            c.push_back(float(v.number));
        }
        q.fa(c.data(), 3);
        return true;
    }
    if (code == 'b') {
        std::vector<float> m;
        if (t.kind == Token::String) {
            if (!basisByName(t.text, m))
                return false;
        } else {
            if (!readValueTokens(t, values, array) || values.size() != 16)
                return false;
            for (const Token& v : values)
                m.push_back(float(v.number));
        }
        q.fa(m.data(), 16);
        return true;
    }
    if (!readValueTokens(t, values, array)) {
        peek_ = t;
        havePeek_ = true;
        return false;
    }
    bool strings = !values.empty() && values[0].kind == Token::String;
    for (const Token& v : values)
        if ((v.kind == Token::String) != strings)
            return false;
    switch (code) {
    case 'i':
    case 'f':
        if (array || strings || values.size() != 1)
            return false;
        if (code == 'i')
            q.i(int(std::lround(std::clamp(values[0].number, -2e9, 2e9))));
        else
            q.f(float(values[0].number));
        return true;
    case 's':
        if (array || !strings || values.size() != 1)
            return false;
        q.s(values[0].text.c_str());
        return true;
    case 'h':
        if (array || values.size() != 1)
            return false;
        {
            std::string key =
                strings ? "s" + values[0].text : "n" + std::to_string(values[0].number);
            const std::string& n = q.name;
            std::string kind = n == "LightSource" || n == "AreaLightSource" || n == "Illuminate"
                                   ? "light"
                                   : "object";
            q.i(handle(kind, key));
        }
        return true;
    case 'I':
    case 'F':
    case 'S': {
        if (!values.empty() && (strings != (code == 'S')))
            return false;
        if (code == 'S') {
            std::vector<const char*> p;
            for (const Token& v : values)
                p.push_back(v.text.c_str());
            q.sa(p.data(), p.size());
        } else if (code == 'I') {
            std::vector<int> p;
            for (const Token& v : values)
                p.push_back(int(std::lround(std::clamp(v.number, -2e9, 2e9))));
            q.ia(p.data(), p.size());
        } else {
            std::vector<float> p;
            for (const Token& v : values)
                p.push_back(float(v.number));
            q.fa(p.data(), p.size());
        }
        return true;
    }
    }
    return false;
}

bool RibReader::readRequest(const std::string& name, int line)
{
    Request q(name);
    auto sig = signatures().find(name);
    std::string codes = sig != signatures().end() ? sig->second : "";
    if (sig == signatures().end() && !plainRequests().count(name)) {
        error(line, "unknown request \"" + name + "\"");
        return false;
    }
    for (size_t k = 0; k < codes.size(); ++k) {
        // Bound and Detail may also be written as six bare numbers; Transform as sixteen.
        if (!readArgument(codes[k], q)) {
            error(line, "bad arguments to " + name);
            return false;
        }
    }
    // Parameter list: "name" value pairs until the next request.
    for (;;) {
        Token t = next();
        if (t.kind != Token::String) {
            peek_ = t;
            havePeek_ = true;
            break;
        }
        Param p;
        if (!context_.declarations.lookup(t.text, p.name, p.decl)) {
            error(t.line, "undeclared parameter \"" + t.text + "\" in " + name);
            Token v = next();
            std::vector<Token> skip;
            bool array;
            readValueTokens(v, skip, array);
            continue;
        }
        Token v = next();
        std::vector<Token> values;
        bool array;
        if (!readValueTokens(v, values, array)) {
            error(t.line, "missing value for \"" + t.text + "\" in " + name);
            return false;
        }
        for (const Token& x : values) {
            if ((x.kind == Token::String) != p.decl.isString()) {
                error(t.line, "wrong type of value for \"" + t.text + "\" in " + name);
                return false;
            }
            if (p.decl.isString())
                p.strings.push_back(x.text);
            else if (p.decl.isInteger())
                p.ints.push_back(int(std::lround(std::clamp(x.number, -2e9, 2e9))));
            else
                p.floats.push_back(float(x.number));
        }
        q.params.push_back(std::move(p));
    }
    if (name == "version")
        return true;
    if (name == "Declare") {
        if (!context_.declarations.declare(q.args[0].asString(), q.args[1].asString())) {
            error(line, "bad declaration \"" + q.args[1].asString() + "\"");
            return false;
        }
    }
    callback_(q);
    return true;
}

void RibReader::parse()
{
    for (;;) {
        Token t = next();
        if (t.kind == Token::End)
            return;
        if (t.kind != Token::Name) {
            error(t.line, "expected a request");
            // Skip to the next request.
            while (t.kind != Token::Name && t.kind != Token::End)
                t = next();
            if (t.kind == Token::End)
                return;
        }
        if (!readRequest(t.text, t.line)) {
            // Skip what is left of the broken request.
            for (;;) {
                Token u = next();
                if (u.kind == Token::Name || u.kind == Token::End) {
                    peek_ = u;
                    havePeek_ = true;
                    break;
                }
            }
        }
    }
}

} // namespace ri
