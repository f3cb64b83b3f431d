#include "samples/StaticSampleHook.h"

#include <utility>

namespace vs {
namespace {

struct Registration
{
    const CSolidDocument* document = nullptr;
    StaticSampleRefresh refresh;
};

Registration& registration()
{
    static Registration current;
    return current;
}

} // namespace

void setStaticSampleView(const CSolidDocument* document, StaticSampleRefresh refresh)
{
    Registration& current = registration();
    if (document == nullptr || !refresh) {
        current = Registration();
        return;
    }
    current.document = document;
    current.refresh = std::move(refresh);
}

void clearStaticSampleView(const CSolidDocument* document)
{
    if (registration().document == document)
        registration() = Registration();
}

bool refreshStaticSampleView(const CSolidDocument& document)
{
    const Registration& current = registration();
    if (current.document != &document || !current.refresh)
        return false;
    // A copy: the refresh may replace or clear the registration while it runs.
    StaticSampleRefresh refresh = current.refresh;
    refresh();
    return true;
}

} // namespace vs
