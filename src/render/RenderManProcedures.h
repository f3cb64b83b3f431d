// The RenderMan Interface procedures the module resolves from the renderer, in the order in
// which they are looked up: VS_RI_PROCEDURE(name) once per procedure. Our renderer's progress
// extension comes last, after the interface's own.
#pragma once

#define VS_RI_INTERFACE_PROCEDURES(X)                                                                                                                        \
    X(RiDeclare)                                                                                                                                             \
    X(RiGetContext)                                                                                                                                          \
    X(RiContext)                                                                                                                                             \
    X(RiBegin) X(RiEnd) X(RiFrameBegin) X(RiFrameEnd) X(RiWorldBegin) X(RiWorldEnd) X(RiFormat) X(                                                           \
        RiFrameAspectRatio) X(RiScreenWindow) X(RiCropWindow) X(RiProjection) X(RiProjectionV)                                                               \
        X(RiClipping) X(RiClippingPlane) X(RiDepthOfField) X(RiShutter) X(RiPixelVariance) X(                                                                \
            RiPixelSamples) X(RiPixelFilter) X(RiExposure) X(RiImager) X(RiImagerV) X(RiQuantize)                                                            \
            X(RiDisplay) X(RiDisplayV) X(RiDisplayChannel) X(RiDisplayChannelV) X(RiGaussianFilter) X(                                                       \
                RiBoxFilter) X(RiTriangleFilter) X(RiMitchellFilter) X(RiCatmullRomFilter) X(RiBlackmanHarrisFilter) X(RiSincFilter) X(RiGaussianStepFilter) \
                X(RiBoxStepFilter) X(RiTriangleStepFilter) X(RiMitchellStepFilter) X(RiCatmullRomStepFilter) X(                                              \
                    RiHider) X(RiHiderV) X(RiColorSamples) X(RiRelativeDetail) X(RiOption) X(RiOptionV) X(RiAttributeBegin)                                  \
                    X(RiAttributeEnd) X(RiColor) X(RiOpacity) X(RiTextureCoordinates) X(RiLightSource) X(RiLightSourceV) X(RiAreaLightSource) X(             \
                        RiAreaLightSourceV) X(RiIlluminate) X(RiSurface) X(RiSurfaceV) X(RiAtmosphere) X(RiAtmosphereV)                                      \
                        X(RiInterior) X(RiInteriorV) X(RiExterior) X(RiExteriorV) X(RiShadingRate) X(RiShadingInterpolation) X(                              \
                            RiMatte) X(RiBound) X(RiDetail) X(RiDetailRange) X(RiGeometricApproximation)                                                     \
                            X(RiGeometricRepresentation) X(RiOrientation) X(RiReverseOrientation) X(RiSides) X(                                              \
                                RiIdentity) X(RiTransform) X(RiConcatTransform) X(RiPerspective) X(RiTranslate) X(RiRotate) X(RiScale)                       \
                                X(RiSkew) X(RiDeformation) X(RiDeformationV) X(RiDisplacement) X(RiDisplacementV) X(                                         \
                                    RiCoordinateSystem) X(RiCoordSysTransform) X(RiTransformPoints) X(RiTransformBegin)                                      \
                                    X(RiTransformEnd) X(RiAttribute) X(RiAttributeV) X(RiPolygon) X(                                                         \
                                        RiPolygonV) X(RiGeneralPolygon) X(RiGeneralPolygonV) X(RiPointsPolygons) X(RiPointsPolygonsV)                        \
                                        X(RiPointsGeneralPolygons) X(RiPointsGeneralPolygonsV) X(RiBasis) X(                                                 \
                                            RiPatch) X(RiPatchV) X(RiPatchMesh) X(RiPatchMeshV) X(RiNuPatch)                                                 \
                                            X(RiNuPatchV) X(RiTrimCurve) X(RiSphere) X(RiSphereV) X(                                                         \
                                                RiCone) X(RiConeV) X(RiCylinder) X(RiCylinderV) X(RiHyperboloid)                                             \
                                                X(RiHyperboloidV) X(RiParaboloid) X(RiParaboloidV) X(RiDisk) X(                                              \
                                                    RiDiskV) X(RiTorus) X(RiTorusV) X(RiCurves) X(RiCurvesV) X(RiProcedural)                                 \
                                                    X(RiGeometry) X(RiGeometryV) X(RiPoints) X(RiPointsV) X(                                                 \
                                                        RiSubdivisionMesh) X(RiSubdivisionMeshV) X(RiBlobby)                                                 \
                                                        X(RiBlobbyV) X(RiProcDelayedReadArchive) X(RiProcRunProgram) X(                                      \
                                                            RiProcDynamicLoad) X(RiProcFree) X(RiSolidBegin)                                                 \
                                                            X(RiSolidEnd) X(RiObjectBegin) X(RiObjectEnd) X(RiObjectInstance) X(                             \
                                                                RiMotionBegin) X(RiMotionBeginV) X(RiMotionEnd)                                              \
                                                                X(RiMakeTexture) X(RiMakeTextureV) X(                                                        \
                                                                    RiMakeBump) X(RiMakeBumpV) X(RiMakeLatLongEnvironment)                                   \
                                                                    X(RiMakeLatLongEnvironmentV) X(RiMakeCubeFaceEnvironment) X(                             \
                                                                        RiMakeCubeFaceEnvironmentV) X(RiMakeShadow)                                          \
                                                                        X(RiMakeShadowV) X(RiMakeBrickMap) X(                                                \
                                                                            RiMakeBrickMapV) X(RiErrorHandler)                                               \
                                                                            X(RiErrorIgnore) X(RiErrorPrint) X(                                              \
                                                                                RiErrorAbort) X(RiResource)                                                  \
                                                                                X(RiResourceV) X(RiResourceBegin) X(                                         \
                                                                                    RiResourceEnd) X(RiArchiveBegin)                                         \
                                                                                    X(RiArchiveBeginV) X(                                                    \
                                                                                        RiArchiveEnd) X(RiIfBegin)                                           \
                                                                                        X(RiIfBeginV) X(                                                     \
                                                                                            RiElseIf) X(RiElseIfV)                                           \
                                                                                            X(RiElse) X(                                                     \
                                                                                                RiIfEnd)                                                     \
                                                                                                X(RiArchiveRecord)                                           \
                                                                                                    X(RiReadArchive)                                         \
                                                                                                        X(RiReadArchiveV)

#define VS_RI_PROCEDURES(X) VS_RI_INTERFACE_PROCEDURES(X) X(RiProgressHandler)
