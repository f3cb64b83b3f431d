// A hosted item (lamp, vent, ...) on a ceiling plane: on grid cells, or at a free position.
#pragma once

#include "CCandy.h"

class CSolidLight;

class CHost : public CCandy
{
public:
    /** True when the host sits at a free position: rect's left/top is its grid-relative
     *  position and gx/gy carry no meaning for placing. */
    bool freePosition = false;
    /** The room light of a lamp, created when it is first switched on; not owned (the
     *  document's light list owns it), and the light refers back to this host. */
    CSolidLight* light = nullptr;
};
