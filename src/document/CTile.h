// A panel laid on grid cells of a ceiling plane.
#pragma once

#include "CCandy.h"

class CTile : public CCandy
{
public:
    /** Panel width and height in decimillimetres (the type's own size unless the design
     *  gives one). */
    int32_t width = 0;
    int32_t height = 0;
};
