#include "RibWriter.h"

#include "../include/ri.h"
#include "Errors.h"

#include <cmath>
#include <cstring>
#include <sstream>

namespace ri {

namespace {

void writeFloat(std::ostringstream& out, float v)
{
    if (std::isnan(v) || std::isinf(v)) {
        out << (v > 0 ? "1e38" : v < 0 ? "-1e38" : "0");
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", double(v));
    out << buf;
}

void writeString(std::ostringstream& out, const std::string& s)
{
    out << '"';
    for (char c : s) {
        switch (c) {
        case '"':
            out << "\\\"";
            break;
        case '\\':
            out << "\\\\";
            break;
        case '\n':
            out << "\\n";
            break;
        case '\r':
            out << "\\r";
            break;
        case '\t':
            out << "\\t";
            break;
        default:
            out << c;
        }
    }
    out << '"';
}

template <class T, class F>
void writeArray(std::ostringstream& out, const std::vector<T>& v, F each)
{
    out << '[';
    for (size_t k = 0; k < v.size(); ++k) {
        if (k)
            out << ' ';
        each(v[k]);
    }
    out << ']';
}

bool opensBlock(const std::string& n)
{
    return n == "FrameBegin" || n == "WorldBegin" || n == "AttributeBegin" ||
           n == "TransformBegin" || n == "SolidBegin" || n == "ObjectBegin" || n == "MotionBegin" ||
           n == "ArchiveBegin" || n == "ResourceBegin" || n == "IfBegin";
}

bool closesBlock(const std::string& n)
{
    return n == "FrameEnd" || n == "WorldEnd" || n == "AttributeEnd" || n == "TransformEnd" ||
           n == "SolidEnd" || n == "ObjectEnd" || n == "MotionEnd" || n == "ArchiveEnd" ||
           n == "ResourceEnd" || n == "IfEnd";
}

} // namespace

std::unique_ptr<RibWriter> RibWriter::open(const std::string& path, std::string& error)
{
    if (path == "-" || path == "stdout")
        return std::unique_ptr<RibWriter>(new RibWriter(stdout, false));
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot write \"" + path + "\": " + std::strerror(errno);
        return nullptr;
    }
    std::fputs("##RenderMan RIB\nversion 3.04\n", f);
    return std::unique_ptr<RibWriter>(new RibWriter(f, true));
}

RibWriter::~RibWriter()
{
    if (own_)
        std::fclose(file_);
    else
        std::fflush(file_);
}

std::string RibWriter::format(const Request& q)
{
    std::ostringstream out;
    if (q.name == "ArchiveRecord") {
        std::string type = q.args.size() > 0 ? q.args[0].asString() : "comment";
        std::string text = q.args.size() > 1 ? q.args[1].asString() : "";
        if (type == "structure")
            return "##" + text;
        if (type == "verbatim")
            return text;
        return "#" + text;
    }
    out << q.name;
    for (const Value& v : q.args) {
        out << ' ';
        switch (v.kind) {
        case Value::Int:
            out << v.asInt();
            break;
        case Value::Float:
            writeFloat(out, v.asFloat());
            break;
        case Value::String:
            writeString(out, v.asString());
            break;
        case Value::IntArray:
            writeArray(out, v.ints, [&](int x) { out << x; });
            break;
        case Value::FloatArray:
            writeArray(out, v.floats, [&](float x) { writeFloat(out, x); });
            break;
        case Value::StringArray:
            writeArray(out, v.strings, [&](const std::string& x) { writeString(out, x); });
            break;
        }
    }
    for (const Param& p : q.params) {
        out << ' ';
        writeString(out, p.decl.text() + " " + p.name);
        out << ' ';
        if (p.decl.isString())
            writeArray(out, p.strings, [&](const std::string& x) { writeString(out, x); });
        else if (p.decl.isInteger())
            writeArray(out, p.ints, [&](int x) { out << x; });
        else
            writeArray(out, p.floats, [&](float x) { writeFloat(out, x); });
    }
    return out.str();
}

void RibWriter::handle(const Request& q)
{
    if (q.name == "End" || q.name == "Abort" || q.name == "ErrorHandler")
        return;
    if (q.function && (q.name == "PixelFilter" || q.name == "MakeTexture"))
        report(RIE_INCAPABLE, RIE_WARNING,
               "a filter of the caller's own cannot be written as RIB; \"box\" written");
    if (closesBlock(q.name) && depth_ > 0)
        --depth_;
    std::string text = format(q);
    for (int k = 0; k < depth_; ++k)
        std::fputs("  ", file_);
    std::fputs(text.c_str(), file_);
    std::fputc('\n', file_);
    if (opensBlock(q.name))
        ++depth_;
    if (std::ferror(file_))
        report(RIE_DISKFULL, RIE_ERROR, "cannot write the RIB stream");
}

} // namespace ri
