// The base of every catalogue type: panel types, section-bar types and facility models.
#pragma once

#include "platform/IntSize.h"

#include <climits>
#include <string>

class Picture;

class CCommonType
{
public:
    virtual ~CCommonType() = default;

    /** Returns a copy of the display name (UTF-8). */
    virtual std::string name() const = 0;
    /** Returns the type's plan picture, fetching it from the host on first use (may be null). */
    virtual const Picture& planPicture() = 0;
    /** Returns the size in pixels at which the catalogue list shows the type; `maxWidth`
     *  bounds the width where the type's rule scales to it. */
    virtual IntSize listPictureSize(int maxWidth = INT_MAX) = 0;
    /** Returns the rotation in degrees used when the type is placed (0 when it does not turn). */
    virtual int rotation() const { return 0; }
    /** Adds `degrees` to the rotation and brings it into 0 ... 359. */
    virtual void rotate(int /*degrees*/) {}
    /** Returns the index of the context-menu popup that offers commands for the type, or -1. */
    virtual int contextMenuIndex() const { return -1; }
};
