// The RenderMan Interface types of its C binding, as far as the module uses them, and the
// progress extension our renderer adds. The module never includes a renderer's header: it
// loads the renderer at run time and calls it through RenderManBinding.
#pragma once

extern "C" {

typedef short RtBoolean;
typedef int RtInt;
typedef float RtFloat;
typedef char* RtToken;
typedef char* RtString;
typedef void* RtPointer;
typedef void RtVoid;
typedef RtFloat RtColor[3];
typedef RtFloat RtPoint[3];
typedef RtFloat RtMatrix[4][4];
typedef RtFloat RtBound[6];
typedef RtPointer RtLightHandle;
typedef RtPointer RtObjectHandle;
typedef RtPointer RtContextHandle;
typedef RtFloat (*RtFilterFunc)(RtFloat, RtFloat, RtFloat, RtFloat);
typedef RtVoid (*RtErrorHandler)(RtInt code, RtInt severity, char* message);

/** Progress of a frame (our renderer's extension): the finished fraction of its buckets;
 *  returning non-zero stops the frame. */
typedef RtInt (*RtProgressFunc)(RtFloat fraction, RtPointer data);

} // extern "C"

#define RI_NULL ((RtToken)0)
