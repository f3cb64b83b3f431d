// A RenderMan context: what RiBegin opens and RiEnd closes. Requests go to its sink, which
// either renders them or writes them as RIB.
#pragma once

#include "Request.h"

#include <map>
#include <memory>
#include <set>
#include <string>

namespace ri {

/// Receives the requests of one context.
class Sink
{
public:
    virtual ~Sink() = default;
    /// Handles one request; never throws.
    virtual void handle(const Request& request) = 0;
    /// Transforms points between named spaces; false when a space is unknown.
    virtual bool transformPoints(const std::string& from, const std::string& to, int n,
                                 float* points)
    {
        (void)from, (void)to, (void)n, (void)points;
        return false;
    }
};

/// Declared parameter types, pre-filled with the standard ones.
class Declarations
{
public:
    Declarations();
    /// Records a declaration; false when the text is not one.
    bool declare(const std::string& name, const std::string& declaration);
    /// Splits a token that may carry an inline declaration ("uniform float Kd") into its name
    /// and declaration; false when the name is neither declared nor declared inline.
    bool lookup(const std::string& token, std::string& name, Declaration& decl) const;

private:
    std::map<std::string, Declaration> table_;
};

struct Context
{
    std::unique_ptr<Sink> sink;
    Declarations declarations;
    int nextLight = 0;
    int nextObject = 0;
    int nextArchive = 0;
    std::set<std::string> unimplemented; ///< procedures already reported
};

/// The calling thread's current context, or null outside RiBegin/RiEnd.
Context* currentContext();

} // namespace ri
