#include "Request.h"

#include <cstring>
#include <sstream>

namespace ri {

namespace {

int typeComponents(VarType t)
{
    switch (t) {
    case VarType::Point:
    case VarType::Vector:
    case VarType::Normal:
    case VarType::Color:
        return 3;
    case VarType::HPoint:
        return 4;
    case VarType::Matrix:
        return 16;
    default:
        return 1;
    }
}

const char* className(VarClass c)
{
    switch (c) {
    case VarClass::Constant:
        return "constant";
    case VarClass::Uniform:
        return "uniform";
    case VarClass::Varying:
        return "varying";
    case VarClass::Vertex:
        return "vertex";
    case VarClass::FaceVarying:
        return "facevarying";
    }
    return "uniform";
}

const char* typeName(VarType t)
{
    switch (t) {
    case VarType::Float:
        return "float";
    case VarType::Integer:
        return "int";
    case VarType::String:
        return "string";
    case VarType::Point:
        return "point";
    case VarType::Vector:
        return "vector";
    case VarType::Normal:
        return "normal";
    case VarType::Color:
        return "color";
    case VarType::HPoint:
        return "hpoint";
    case VarType::Matrix:
        return "matrix";
    }
    return "float";
}

} // namespace

int Declaration::componentsPerElement() const
{
    return typeComponents(type) * arraySize;
}

std::string Declaration::text() const
{
    std::string s = std::string(className(varClass)) + " " + typeName(type);
    if (arraySize != 1)
        s += "[" + std::to_string(arraySize) + "]";
    return s;
}

bool parseDeclaration(const std::string& text, Declaration& out)
{
    std::istringstream in(text);
    std::string word;
    Declaration d;
    bool haveType = false;
    while (in >> word) {
        std::string base = word;
        int array = 1;
        size_t br = word.find('[');
        if (br != std::string::npos) {
            base = word.substr(0, br);
            std::string num = word.substr(br + 1);
            if (!num.empty() && num.back() == ']')
                num.pop_back();
            else {
                std::string rest;
                in >> rest; // "color [2]" form
            }
            array = std::atoi(num.c_str());
            if (array <= 0 || array > 65536)
                return false;
        } else if (!word.empty() && word[0] == '[') {
            std::string num = word.substr(1);
            if (!num.empty() && num.back() == ']')
                num.pop_back();
            int a = std::atoi(num.c_str());
            if (a <= 0 || a > 65536 || !haveType)
                return false;
            d.arraySize = a;
            continue;
        }
        if (base == "constant")
            d.varClass = VarClass::Constant;
        else if (base == "uniform")
            d.varClass = VarClass::Uniform;
        else if (base == "varying")
            d.varClass = VarClass::Varying;
        else if (base == "vertex")
            d.varClass = VarClass::Vertex;
        else if (base == "facevarying")
            d.varClass = VarClass::FaceVarying;
        else {
            VarType ty;
            if (base == "float")
                ty = VarType::Float;
            else if (base == "int" || base == "integer")
                ty = VarType::Integer;
            else if (base == "string")
                ty = VarType::String;
            else if (base == "point")
                ty = VarType::Point;
            else if (base == "vector")
                ty = VarType::Vector;
            else if (base == "normal")
                ty = VarType::Normal;
            else if (base == "color")
                ty = VarType::Color;
            else if (base == "hpoint")
                ty = VarType::HPoint;
            else if (base == "matrix")
                ty = VarType::Matrix;
            else
                return false;
            if (haveType)
                return false;
            d.type = ty;
            d.arraySize = array;
            haveType = true;
        }
    }
    if (!haveType)
        return false;
    out = d;
    return true;
}

size_t Param::size() const
{
    if (decl.isString())
        return strings.size();
    if (decl.isInteger())
        return ints.size();
    return floats.size();
}

const std::string& Value::asString() const
{
    static const std::string empty;
    return strings.empty() ? empty : strings[0];
}

size_t ClassCounts::count(VarClass c) const
{
    switch (c) {
    case VarClass::Constant:
        return 1;
    case VarClass::Uniform:
        return uniform;
    case VarClass::Varying:
        return varying;
    case VarClass::Vertex:
        return vertex;
    case VarClass::FaceVarying:
        return faceVarying;
    }
    return 1;
}

Request& Request::i(int v)
{
    Value x;
    x.kind = Value::Int;
    x.ints.push_back(v);
    args.push_back(std::move(x));
    return *this;
}

Request& Request::f(float v)
{
    Value x;
    x.kind = Value::Float;
    x.floats.push_back(v);
    args.push_back(std::move(x));
    return *this;
}

Request& Request::s(const char* v)
{
    Value x;
    x.kind = Value::String;
    x.strings.emplace_back(v ? v : "");
    args.push_back(std::move(x));
    return *this;
}

Request& Request::ia(const int* v, size_t n)
{
    Value x;
    x.kind = Value::IntArray;
    if (v)
        x.ints.assign(v, v + n);
    args.push_back(std::move(x));
    return *this;
}

Request& Request::fa(const float* v, size_t n)
{
    Value x;
    x.kind = Value::FloatArray;
    if (v)
        x.floats.assign(v, v + n);
    args.push_back(std::move(x));
    return *this;
}

Request& Request::sa(const char* const* v, size_t n)
{
    Value x;
    x.kind = Value::StringArray;
    for (size_t k = 0; v && k < n; ++k)
        x.strings.emplace_back(v[k] ? v[k] : "");
    args.push_back(std::move(x));
    return *this;
}

const Param* Request::find(const char* n) const
{
    for (const Param& p : params)
        if (p.name == n)
            return &p;
    return nullptr;
}

} // namespace ri
