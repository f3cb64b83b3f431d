/* The RenderMan Interface C binding of libri.so, plus one extension (RiProgressHandler).
 *
 * Parameter lists are name/value pairs ended by RI_NULL; every value is passed by address.
 * The V forms take the same pairs as a count and two arrays. Filter procedures may be passed
 * as values wherever an RtFilterFunc is asked for. Nothing in the binding ends the process:
 * errors go to the handler set with RiErrorHandler (RiErrorPrint by default). */
#ifndef RI_H
#define RI_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define RI_EXPORT __attribute__((visibility("default")))
#else
#define RI_EXPORT
#endif

typedef short RtBoolean;
typedef int RtInt;
typedef float RtFloat;
typedef char* RtToken;
typedef char* RtString;
typedef RtFloat RtColor[3];
typedef RtFloat RtPoint[3];
typedef RtFloat RtVector[3];
typedef RtFloat RtNormal[3];
typedef RtFloat RtHpoint[4];
typedef RtFloat RtMatrix[4][4];
typedef RtFloat RtBasis[4][4];
typedef RtFloat RtBound[6];
typedef void* RtPointer;
typedef void RtVoid;
typedef void* RtObjectHandle;
typedef void* RtLightHandle;
typedef void* RtContextHandle;
typedef void* RtArchiveHandle;

typedef RtFloat (*RtFilterFunc)(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);
typedef RtVoid (*RtErrorHandler)(RtInt code, RtInt severity, char* message);
typedef RtVoid (*RtFunc)(void);
typedef RtVoid (*RtProcSubdivFunc)(RtPointer data, RtFloat detail);
typedef RtVoid (*RtProcFreeFunc)(RtPointer data);
typedef RtVoid (*RtArchiveCallback)(RtToken type, char* format, ...);
/* Progress extension: return non-zero to stop the frame. */
typedef RtInt (*RtProgressFunc)(RtFloat fraction, RtPointer data);

#define RI_FALSE 0
#define RI_TRUE 1
#define RI_INFINITY 1.0e38f
#define RI_EPSILON 1.0e-10f
#define RI_NULL ((RtToken)0)

extern RI_EXPORT RtToken RI_FRAMEBUFFER, RI_FILE;
extern RI_EXPORT RtToken RI_RGB, RI_RGBA, RI_RGBZ, RI_RGBAZ, RI_A, RI_Z, RI_AZ;
extern RI_EXPORT RtToken RI_PERSPECTIVE, RI_ORTHOGRAPHIC;
extern RI_EXPORT RtToken RI_HIDDEN, RI_PAINT;
extern RI_EXPORT RtToken RI_CONSTANT, RI_SMOOTH;
extern RI_EXPORT RtToken RI_FLATNESS, RI_FOV;
extern RI_EXPORT RtToken RI_AMBIENTLIGHT, RI_POINTLIGHT, RI_DISTANTLIGHT, RI_SPOTLIGHT;
extern RI_EXPORT RtToken RI_INTENSITY, RI_LIGHTCOLOR, RI_FROM, RI_TO, RI_CONEANGLE,
    RI_CONEDELTAANGLE, RI_BEAMDISTRIBUTION;
extern RI_EXPORT RtToken RI_MATTE, RI_METAL, RI_SHINYMETAL, RI_PLASTIC, RI_PAINTEDPLASTIC;
extern RI_EXPORT RtToken RI_KA, RI_KD, RI_KS, RI_ROUGHNESS, RI_KR, RI_TEXTURENAME, RI_SPECULARCOLOR;
extern RI_EXPORT RtToken RI_DEPTHCUE, RI_FOG, RI_BUMPY;
extern RI_EXPORT RtToken RI_MINDISTANCE, RI_MAXDISTANCE, RI_BACKGROUND, RI_DISTANCE, RI_AMPLITUDE;
extern RI_EXPORT RtToken RI_RASTER, RI_SCREEN, RI_CAMERA, RI_WORLD, RI_OBJECT;
extern RI_EXPORT RtToken RI_INSIDE, RI_OUTSIDE, RI_LH, RI_RH;
extern RI_EXPORT RtToken RI_P, RI_PZ, RI_PW, RI_N, RI_NP, RI_CS, RI_OS, RI_S, RI_T, RI_ST;
extern RI_EXPORT RtToken RI_BILINEAR, RI_BICUBIC;
extern RI_EXPORT RtToken RI_PRIMITIVE, RI_INTERSECTION, RI_UNION, RI_DIFFERENCE;
extern RI_EXPORT RtToken RI_PERIODIC, RI_NONPERIODIC, RI_CLAMP, RI_BLACK;
extern RI_EXPORT RtToken RI_IGNORE, RI_PRINT, RI_ABORT, RI_HANDLER;
extern RI_EXPORT RtToken RI_COMMENT, RI_STRUCTURE, RI_VERBATIM;
extern RI_EXPORT RtToken RI_IDENTIFIER, RI_NAME, RI_SHADINGGROUP;
extern RI_EXPORT RtToken RI_WIDTH, RI_CONSTANTWIDTH;
extern RI_EXPORT RtToken RI_JITTER, RI_ZFILE, RI_SHADOWNAME, RI_SEARCHPATH;

extern RI_EXPORT RtBasis RiBezierBasis, RiBSplineBasis, RiCatmullRomBasis, RiHermiteBasis,
    RiPowerBasis;

#define RI_BEZIERSTEP ((RtInt)3)
#define RI_BSPLINESTEP ((RtInt)1)
#define RI_CATMULLROMSTEP ((RtInt)1)
#define RI_HERMITESTEP ((RtInt)2)
#define RI_POWERSTEP ((RtInt)4)

/* Error codes */
#define RIE_NOERROR 0
#define RIE_NOMEM 1
#define RIE_SYSTEM 2
#define RIE_NOFILE 3
#define RIE_BADFILE 4
#define RIE_VERSION 5
#define RIE_DISKFULL 6
#define RIE_INCAPABLE 11
#define RIE_UNIMPLEMENT 12
#define RIE_LIMIT 13
#define RIE_BUG 14
#define RIE_NOTSTARTED 23
#define RIE_NESTING 24
#define RIE_NOTOPTIONS 25
#define RIE_NOTATTRIBS 26
#define RIE_NOTPRIMS 27
#define RIE_ILLSTATE 28
#define RIE_BADMOTION 29
#define RIE_BADSOLID 30
#define RIE_BADTOKEN 41
#define RIE_RANGE 42
#define RIE_CONSISTENCY 43
#define RIE_BADHANDLE 44
#define RIE_NOSHADER 45
#define RIE_MISSINGDATA 46
#define RIE_SYNTAX 47
#define RIE_MATH 61

/* Error severities */
#define RIE_INFO 0
#define RIE_WARNING 1
#define RIE_ERROR 2
#define RIE_SEVERE 3

#define RI_PROC(ret, name, args) RI_EXPORT ret name args;

RI_PROC(RtToken, RiDeclare, (char* name, char* declaration))
RI_PROC(RtContextHandle, RiGetContext, (void))
RI_PROC(RtVoid, RiContext, (RtContextHandle handle))
RI_PROC(RtVoid, RiBegin, (RtToken name))
RI_PROC(RtVoid, RiEnd, (void))
RI_PROC(RtVoid, RiFrameBegin, (RtInt number))
RI_PROC(RtVoid, RiFrameEnd, (void))
RI_PROC(RtVoid, RiWorldBegin, (void))
RI_PROC(RtVoid, RiWorldEnd, (void))
RI_PROC(RtVoid, RiFormat, (RtInt xres, RtInt yres, RtFloat aspect))
RI_PROC(RtVoid, RiFrameAspectRatio, (RtFloat aspect))
RI_PROC(RtVoid, RiScreenWindow, (RtFloat left, RtFloat right, RtFloat bottom, RtFloat top))
RI_PROC(RtVoid, RiCropWindow, (RtFloat xmin, RtFloat xmax, RtFloat ymin, RtFloat ymax))
RI_PROC(RtVoid, RiProjection, (RtToken name, ...))
RI_PROC(RtVoid, RiProjectionV, (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiClipping, (RtFloat hither, RtFloat yon))
RI_PROC(RtVoid, RiClippingPlane,
        (RtFloat x, RtFloat y, RtFloat z, RtFloat nx, RtFloat ny, RtFloat nz))
RI_PROC(RtVoid, RiDepthOfField, (RtFloat fstop, RtFloat focallength, RtFloat focaldistance))
RI_PROC(RtVoid, RiShutter, (RtFloat smin, RtFloat smax))
RI_PROC(RtVoid, RiPixelVariance, (RtFloat variation))
RI_PROC(RtVoid, RiPixelSamples, (RtFloat xsamples, RtFloat ysamples))
RI_PROC(RtVoid, RiPixelFilter, (RtFilterFunc function, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtVoid, RiExposure, (RtFloat gain, RtFloat gamma))
RI_PROC(RtVoid, RiImager, (RtToken name, ...))
RI_PROC(RtVoid, RiImagerV, (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiQuantize, (RtToken type, RtInt one, RtInt qmin, RtInt qmax, RtFloat ampl))
RI_PROC(RtVoid, RiDisplay, (char* name, RtToken type, RtToken mode, ...))
RI_PROC(RtVoid, RiDisplayV,
        (char* name, RtToken type, RtToken mode, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiDisplayChannel, (RtToken channel, ...))
RI_PROC(RtVoid, RiDisplayChannelV, (RtToken channel, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtFloat, RiGaussianFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtFloat, RiBoxFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtFloat, RiTriangleFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtFloat, RiMitchellFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtFloat, RiCatmullRomFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtFloat, RiBlackmanHarrisFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtFloat, RiSincFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
/* The step filters give the filter's weight integrated from -xwidth/2 to x and from -ywidth/2
 * to y, normalised to 1 over the whole support. */
RI_PROC(RtFloat, RiGaussianStepFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtFloat, RiBoxStepFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtFloat, RiTriangleStepFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtFloat, RiMitchellStepFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtFloat, RiCatmullRomStepFilter, (RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth))
RI_PROC(RtVoid, RiHider, (RtToken type, ...))
RI_PROC(RtVoid, RiHiderV, (RtToken type, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiColorSamples, (RtInt n, RtFloat nRGB[], RtFloat RGBn[]))
RI_PROC(RtVoid, RiRelativeDetail, (RtFloat relativedetail))
RI_PROC(RtVoid, RiOption, (RtToken name, ...))
RI_PROC(RtVoid, RiOptionV, (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiAttributeBegin, (void))
RI_PROC(RtVoid, RiAttributeEnd, (void))
RI_PROC(RtVoid, RiColor, (RtColor color))
RI_PROC(RtVoid, RiOpacity, (RtColor color))
RI_PROC(RtVoid, RiTextureCoordinates,
        (RtFloat s1, RtFloat t1, RtFloat s2, RtFloat t2, RtFloat s3, RtFloat t3, RtFloat s4,
         RtFloat t4))
RI_PROC(RtLightHandle, RiLightSource, (RtToken name, ...))
RI_PROC(RtLightHandle, RiLightSourceV,
        (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtLightHandle, RiAreaLightSource, (RtToken name, ...))
RI_PROC(RtLightHandle, RiAreaLightSourceV,
        (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiIlluminate, (RtLightHandle light, RtBoolean onoff))
RI_PROC(RtVoid, RiSurface, (RtToken name, ...))
RI_PROC(RtVoid, RiSurfaceV, (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiAtmosphere, (RtToken name, ...))
RI_PROC(RtVoid, RiAtmosphereV, (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiInterior, (RtToken name, ...))
RI_PROC(RtVoid, RiInteriorV, (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiExterior, (RtToken name, ...))
RI_PROC(RtVoid, RiExteriorV, (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiShadingRate, (RtFloat size))
RI_PROC(RtVoid, RiShadingInterpolation, (RtToken type))
RI_PROC(RtVoid, RiMatte, (RtBoolean onoff))
RI_PROC(RtVoid, RiBound, (RtBound bound))
RI_PROC(RtVoid, RiDetail, (RtBound bound))
RI_PROC(RtVoid, RiDetailRange, (RtFloat minvis, RtFloat lowtran, RtFloat uptran, RtFloat maxvis))
RI_PROC(RtVoid, RiGeometricApproximation, (RtToken type, RtFloat value))
RI_PROC(RtVoid, RiGeometricRepresentation, (RtToken type))
RI_PROC(RtVoid, RiOrientation, (RtToken orientation))
RI_PROC(RtVoid, RiReverseOrientation, (void))
RI_PROC(RtVoid, RiSides, (RtInt nsides))
RI_PROC(RtVoid, RiIdentity, (void))
RI_PROC(RtVoid, RiTransform, (RtMatrix transform))
RI_PROC(RtVoid, RiConcatTransform, (RtMatrix transform))
RI_PROC(RtVoid, RiPerspective, (RtFloat fov))
RI_PROC(RtVoid, RiTranslate, (RtFloat dx, RtFloat dy, RtFloat dz))
RI_PROC(RtVoid, RiRotate, (RtFloat angle, RtFloat dx, RtFloat dy, RtFloat dz))
RI_PROC(RtVoid, RiScale, (RtFloat sx, RtFloat sy, RtFloat sz))
RI_PROC(RtVoid, RiSkew,
        (RtFloat angle, RtFloat dx1, RtFloat dy1, RtFloat dz1, RtFloat dx2, RtFloat dy2,
         RtFloat dz2))
RI_PROC(RtVoid, RiDeformation, (RtToken name, ...))
RI_PROC(RtVoid, RiDeformationV, (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiDisplacement, (RtToken name, ...))
RI_PROC(RtVoid, RiDisplacementV, (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiCoordinateSystem, (RtToken space))
RI_PROC(RtVoid, RiCoordSysTransform, (RtToken space))
RI_PROC(RtPoint*, RiTransformPoints,
        (RtToken fromspace, RtToken tospace, RtInt n, RtPoint points[]))
RI_PROC(RtVoid, RiTransformBegin, (void))
RI_PROC(RtVoid, RiTransformEnd, (void))
RI_PROC(RtVoid, RiAttribute, (RtToken name, ...))
RI_PROC(RtVoid, RiAttributeV, (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiPolygon, (RtInt nvertices, ...))
RI_PROC(RtVoid, RiPolygonV, (RtInt nvertices, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiGeneralPolygon, (RtInt nloops, RtInt nverts[], ...))
RI_PROC(RtVoid, RiGeneralPolygonV,
        (RtInt nloops, RtInt nverts[], RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiPointsPolygons, (RtInt npolys, RtInt nverts[], RtInt verts[], ...))
RI_PROC(RtVoid, RiPointsPolygonsV,
        (RtInt npolys, RtInt nverts[], RtInt verts[], RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiPointsGeneralPolygons,
        (RtInt npolys, RtInt nloops[], RtInt nverts[], RtInt verts[], ...))
RI_PROC(RtVoid, RiPointsGeneralPolygonsV,
        (RtInt npolys, RtInt nloops[], RtInt nverts[], RtInt verts[], RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiBasis, (RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep))
RI_PROC(RtVoid, RiPatch, (RtToken type, ...))
RI_PROC(RtVoid, RiPatchV, (RtToken type, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiPatchMesh, (RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, ...))
RI_PROC(RtVoid, RiPatchMeshV,
        (RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiNuPatch,
        (RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv,
         RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax, ...))
RI_PROC(RtVoid, RiNuPatchV,
        (RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv,
         RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax, RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiTrimCurve,
        (RtInt nloops, RtInt ncurves[], RtInt order[], RtFloat knot[], RtFloat amin[],
         RtFloat amax[], RtInt nv[], RtFloat u[], RtFloat v[], RtFloat w[]))
RI_PROC(RtVoid, RiSphere, (RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...))
RI_PROC(RtVoid, RiSphereV,
        (RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiCone, (RtFloat height, RtFloat radius, RtFloat thetamax, ...))
RI_PROC(RtVoid, RiConeV,
        (RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiCylinder, (RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...))
RI_PROC(RtVoid, RiCylinderV,
        (RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiHyperboloid, (RtPoint point1, RtPoint point2, RtFloat thetamax, ...))
RI_PROC(RtVoid, RiHyperboloidV,
        (RtPoint point1, RtPoint point2, RtFloat thetamax, RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiParaboloid, (RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...))
RI_PROC(RtVoid, RiParaboloidV,
        (RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiDisk, (RtFloat height, RtFloat radius, RtFloat thetamax, ...))
RI_PROC(RtVoid, RiDiskV,
        (RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiTorus,
        (RtFloat majorrad, RtFloat minorrad, RtFloat phimin, RtFloat phimax, RtFloat thetamax, ...))
RI_PROC(RtVoid, RiTorusV,
        (RtFloat majorrad, RtFloat minorrad, RtFloat phimin, RtFloat phimax, RtFloat thetamax,
         RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiCurves, (RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, ...))
RI_PROC(RtVoid, RiCurvesV,
        (RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiProcedural,
        (RtPointer data, RtBound bound, RtProcSubdivFunc subdivfunc, RtProcFreeFunc freefunc))
RI_PROC(RtVoid, RiGeometry, (RtToken type, ...))
RI_PROC(RtVoid, RiGeometryV, (RtToken type, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiPoints, (RtInt npoints, ...))
RI_PROC(RtVoid, RiPointsV, (RtInt npoints, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiSubdivisionMesh,
        (RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[], RtInt ntags,
         RtToken tags[], RtInt nargs[], RtInt intargs[], RtFloat floatargs[], ...))
RI_PROC(RtVoid, RiSubdivisionMeshV,
        (RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[], RtInt ntags,
         RtToken tags[], RtInt nargs[], RtInt intargs[], RtFloat floatargs[], RtInt n,
         RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiBlobby,
        (RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt nstr,
         RtToken str[], ...))
RI_PROC(RtVoid, RiBlobbyV,
        (RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt nstr,
         RtToken str[], RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiProcDelayedReadArchive, (RtPointer data, RtFloat detail))
RI_PROC(RtVoid, RiProcRunProgram, (RtPointer data, RtFloat detail))
RI_PROC(RtVoid, RiProcDynamicLoad, (RtPointer data, RtFloat detail))
RI_PROC(RtVoid, RiProcFree, (RtPointer data))
RI_PROC(RtVoid, RiSolidBegin, (RtToken operation))
RI_PROC(RtVoid, RiSolidEnd, (void))
RI_PROC(RtObjectHandle, RiObjectBegin, (void))
RI_PROC(RtVoid, RiObjectEnd, (void))
RI_PROC(RtVoid, RiObjectInstance, (RtObjectHandle handle))
RI_PROC(RtVoid, RiMotionBegin, (RtInt n, ...))
RI_PROC(RtVoid, RiMotionBeginV, (RtInt n, RtFloat times[]))
RI_PROC(RtVoid, RiMotionEnd, (void))
RI_PROC(RtVoid, RiMakeTexture,
        (char* pic, char* tex, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc,
         RtFloat swidth, RtFloat twidth, ...))
RI_PROC(RtVoid, RiMakeTextureV,
        (char* pic, char* tex, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc,
         RtFloat swidth, RtFloat twidth, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiMakeBump,
        (char* pic, char* tex, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc,
         RtFloat swidth, RtFloat twidth, ...))
RI_PROC(RtVoid, RiMakeBumpV,
        (char* pic, char* tex, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc,
         RtFloat swidth, RtFloat twidth, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiMakeLatLongEnvironment,
        (char* pic, char* tex, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth, ...))
RI_PROC(RtVoid, RiMakeLatLongEnvironmentV,
        (char* pic, char* tex, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth, RtInt n,
         RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiMakeCubeFaceEnvironment,
        (char* px, char* nx, char* py, char* ny, char* pz, char* nz, char* tex, RtFloat fov,
         RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth, ...))
RI_PROC(RtVoid, RiMakeCubeFaceEnvironmentV,
        (char* px, char* nx, char* py, char* ny, char* pz, char* nz, char* tex, RtFloat fov,
         RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth, RtInt n, RtToken tokens[],
         RtPointer params[]))
RI_PROC(RtVoid, RiMakeShadow, (char* pic, char* tex, ...))
RI_PROC(RtVoid, RiMakeShadowV,
        (char* pic, char* tex, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiMakeBrickMap, (RtInt nptc, char** ptcnames, char* bkmname, ...))
RI_PROC(RtVoid, RiMakeBrickMapV,
        (RtInt nptc, char** ptcnames, char* bkmname, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiErrorHandler, (RtErrorHandler handler))
RI_PROC(RtVoid, RiErrorIgnore, (RtInt code, RtInt severity, char* message))
RI_PROC(RtVoid, RiErrorPrint, (RtInt code, RtInt severity, char* message))
RI_PROC(RtVoid, RiErrorAbort, (RtInt code, RtInt severity, char* message))
RI_PROC(RtVoid, RiResource, (RtToken handle, RtToken type, ...))
RI_PROC(RtVoid, RiResourceV,
        (RtToken handle, RtToken type, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiResourceBegin, (void))
RI_PROC(RtVoid, RiResourceEnd, (void))
RI_PROC(RtArchiveHandle, RiArchiveBegin, (RtToken name, ...))
RI_PROC(RtArchiveHandle, RiArchiveBeginV,
        (RtToken name, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiArchiveEnd, (void))
RI_PROC(RtVoid, RiIfBegin, (char* condition, ...))
RI_PROC(RtVoid, RiIfBeginV, (char* condition, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiElseIf, (char* condition, ...))
RI_PROC(RtVoid, RiElseIfV, (char* condition, RtInt n, RtToken tokens[], RtPointer params[]))
RI_PROC(RtVoid, RiElse, (void))
RI_PROC(RtVoid, RiIfEnd, (void))
RI_PROC(RtVoid, RiArchiveRecord, (RtToken type, char* format, ...))
RI_PROC(RtVoid, RiReadArchive, (RtToken name, RtArchiveCallback callback, ...))
RI_PROC(RtVoid, RiReadArchiveV,
        (RtToken name, RtArchiveCallback callback, RtInt n, RtToken tokens[], RtPointer params[]))

/* Extension: progress and cancel for the frames rendered after the call, in the calling
 * thread. func is called from the thread that called RiWorldEnd with the finished fraction of
 * the frame's buckets (at least 0 at the start and 1 at the end, at most about 20 times a
 * second); a non-zero return stops the frame: its displays are closed without writing their
 * files and RiWorldEnd returns after one warning, "frame stopped". A null func removes it. */
RI_PROC(RtVoid, RiProgressHandler, (RtProgressFunc func, RtPointer data))

#undef RI_PROC

#ifdef __cplusplus
}
#endif

#endif /* RI_H */
