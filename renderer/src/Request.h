// One RenderMan request in a form shared by the C binding, the RIB reader and writer, and the
// renderer: the request's name, its positional arguments as RIB writes them, and its parameter
// list with each value's declaration.
#pragma once

#include <string>
#include <vector>

namespace ri {

/// Storage class of a primitive variable.
enum class VarClass { Constant, Uniform, Varying, Vertex, FaceVarying };

/// Value type of a declared variable.
enum class VarType { Float, Integer, String, Point, Vector, Normal, Color, HPoint, Matrix };

/// A parsed declaration such as "uniform float Kd" or "varying color[2] Cs".
struct Declaration
{
    VarClass varClass = VarClass::Uniform;
    VarType type = VarType::Float;
    int arraySize = 1;

    /// Floats (or ints, or strings) per element: 3 for a point, 16 for a matrix, times the
    /// array size.
    int componentsPerElement() const;
    bool isString() const { return type == VarType::String; }
    bool isInteger() const { return type == VarType::Integer; }
    /// The declaration as RIB writes it inline, e.g. "varying color".
    std::string text() const;
};

/// Parses a declaration; false (and `out` untouched) when it is not one.
bool parseDeclaration(const std::string& text, Declaration& out);

/// One name/value pair of a parameter list, with its data copied.
struct Param
{
    std::string name; ///< bare name, without any inline declaration
    Declaration decl;
    std::vector<float> floats;
    std::vector<int> ints;
    std::vector<std::string> strings;

    /// Number of values stored (floats, ints or strings, whichever the type keeps).
    size_t size() const;
};

/// A positional argument.
struct Value
{
    enum Kind { Int, Float, String, IntArray, FloatArray, StringArray } kind = Int;
    std::vector<int> ints;
    std::vector<float> floats;
    std::vector<std::string> strings;

    int asInt() const { return ints.empty() ? (floats.empty() ? 0 : int(floats[0])) : ints[0]; }
    float asFloat() const
    {
        return floats.empty() ? (ints.empty() ? 0.f : float(ints[0])) : floats[0];
    }
    const std::string& asString() const;
};

/// Counts of values a primitive expects per storage class.
struct ClassCounts
{
    size_t uniform = 1, varying = 1, vertex = 1, faceVarying = 1;
    size_t count(VarClass c) const;
};

struct Request
{
    std::string name; ///< RIB name, e.g. "Polygon"
    std::vector<Value> args;
    std::vector<Param> params;
    /// A procedure of the caller's own (a filter, an archive callback) that RIB cannot carry.
    void* function = nullptr;

    explicit Request(std::string n = {}) : name(std::move(n)) {}
    Request& i(int v);
    Request& f(float v);
    Request& s(const char* v);
    Request& ia(const int* v, size_t n);
    Request& fa(const float* v, size_t n);
    Request& sa(const char* const* v, size_t n);

    const Param* find(const char* name) const;
};

} // namespace ri
