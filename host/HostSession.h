// One host session: the pack, the user's overrides, the design being edited and the module's
// exports, bound to the fourteen (and six) callbacks the module is given. The callbacks are
// plain functions that reach the active session; each catches its own errors, reports them in
// one line on stderr and answers with a harmless default, so nothing crosses into the module.
#pragma once

#include "CataloguePack.h"
#include "HostDesign.h"
#include "ModelOverrides.h"
#include "ModuleExports.h"
#include "SolidSampleChooser.h"

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace vhost {

/** What a design run gave back. */
struct DesignRunResult
{
    bool failed = false;   // the module returned an error variant
    int32_t errorCode = 0; // its code
    std::string solid;     // the solid element (UTF-8), "" when the module returned none
};

/** Picks a static sample for the design; returns its id, or 0 for none. */
using SampleChooser = std::function<int32_t(const std::vector<PackStaticSample>&)>;
/** Picks a solid sample and its angle for the open room; id 0 for none. */
using SolidChooser = std::function<SolidSampleChoice(const std::vector<PackSolidSample>&)>;

class HostSession
{
public:
    HostSession(ModuleExports module, CataloguePack pack, ModelOverrides overrides);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    /** Returns the session the callbacks act on (the last one made), or null. */
    static HostSession* active();

    /** Clears the module's catalogues, then pours the whole pack with the overrides applied:
     *  BeginPourMasterData(homeDir, …fourteen callbacks), every entry, PostPourMasterData. */
    void pour(const std::string& homeDir, int32_t catalogueOption = 0);
    /** Runs the design dialog on `design`, mirroring the module's edits into it. */
    DesignRunResult runDesign(HostDesign& design);
    /** Draws `design` into a JPEG without a dialog; false when the module cannot. */
    bool exportPicture(HostDesign& design, const std::string& jpegPath, int32_t width,
                       int32_t height, int32_t viewMode = 4);
    /** Renders `design` photo-realistically into `imagePath` without a dialog; false when the
     *  module cannot. */
    bool exportRender(HostDesign& design, const std::string& imagePath, int32_t width,
                      int32_t height, int32_t viewMode, int32_t samplesPerSide, bool shadows,
                      int32_t brightness);
    /** Renders the hand-off file homeDir + "Render/" + name + ".xml" (the render program). */
    void render(const std::string& homeDir, const std::string& name);

    /** Replaces the static-sample chooser (the default shows StaticSampleChooser). */
    void setSampleChooser(SampleChooser chooser) { chooser_ = std::move(chooser); }
    /** Replaces the solid-sample chooser (the default shows SolidSampleChooser). */
    void setSolidChooser(SolidChooser chooser) { solidChooser_ = std::move(chooser); }
    /** The design the callbacks edit, or null outside a run. */
    void setDesign(HostDesign* design) { design_ = design; }
    HostDesign* design() const { return design_; }

    const CataloguePack& pack() const { return pack_; }
    const ModelOverrides& overrides() const { return overrides_; }
    /** Number of GetModelData blocks handed out and not yet freed. */
    size_t outstandingModelBlocks() const { return blocks_.size(); }

    /** The callbacks, as the module gets them (tests call them directly). */
    static void freeModelData(void* block);
    static void getModelData(int32 modelId, void** block, int32* blockSize);
    static void composeDesignXml(const char* solidXml, VsVariant* design);
    static int32 addCeilingHost(int32 planeId, int32 hostTypeId, double x, double y,
                                int32 rotateDegree, int32 isFree);
    static int32 moveCeilingHost(int32 planeId, int32 hostId, double dx, double dy);
    static void deleteCeilingHost(int32 planeId, int32 hostId);
    static void rotateCeilingHost(int32 planeId, int32 hostId, int32 degrees);
    static void layTiles(int32 planeId, int32 tileTypeId, int32 rotateDegree, const char* colsText,
                         const char* rowsText);
    static void getCandyTypeImages(int32 typeId, const void** data1, int32* size1,
                                   const void** data2, int32* size2);
    static int32 chooseStaticSample(int32 on);
    static void getCandyTypeTextures(int32 typeId, int32 index, const void** data, int32* size);
    static void loadStaticSample(int32 sampleId);
    static void saveModelMaterials(int32 modelId, const char* materialsXml);
    static void setModelCategory(int32 modelId, int32 categoryId);
    static void requestCandyType(int32 typeId);
    static void requestFacilityModel(int32 modelId, int32 typeId);

private:
    void addCandyType(const PackCandyType& type);
    void addFacilityModel(const PackModel& model);
    void applyStaticSample(int32_t sampleId);
    void chooseSolidSample();
    const char* keep(const std::string& utf8);

    ModuleExports module_;
    CataloguePack pack_;
    ModelOverrides overrides_;
    HostDesign* design_ = nullptr;
    SampleChooser chooser_;
    SolidChooser solidChooser_;
    std::set<void*> blocks_;
    std::deque<std::string> strings_;         // locale strings handed to the module
    std::deque<PackModel> pouredModels_;      // models with overrides, as poured
    std::deque<std::array<float, 3>> floats_; // base rotations and natural sizes
    std::vector<uint8_t> sampleBlock_;
    int32_t spareHostId_ = 1000000;
};

} // namespace vhost
