#include "edit/CeilingEdits.h"

namespace vs {

CHost* addCeilingHost(DesignView&, CGridMapping&, CCandyType&, bool, double, double)
{
    return nullptr;
}

void deleteCeilingHost(DesignView&, CHost&)
{
}

void rotateCeilingHost(DesignView&, CHost&, int)
{
}

} // namespace vs
