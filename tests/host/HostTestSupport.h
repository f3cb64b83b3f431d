// Helpers of the host tests: scratch folders with small packs, and a stand-in module that
// records what the host pours and answers like the real one.
#pragma once

#include "ModuleExports.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hosttest {

/** A fresh folder under the temporary directory, removed with its contents at the end. */
class ScratchDir
{
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& path() const { return path_; }
    /** Writes a file below the folder (creating subfolders) and returns its path. */
    std::string write(const std::string& relative, const std::string& bytes) const;

private:
    std::string path_;
};

/** A small PNG picture of the given size. */
std::string pngBytes(int width = 4, int height = 4);
/** A pack index holding one kind, one category, one panel type with pictures, one facility
 *  category and one model with a mesh; `extraTypes` and `extraModels` are appended. */
std::string smallIndex(const std::string& extraTypes = "", const std::string& extraModels = "");
/** Writes smallIndex() and its files into `dir`; returns the index path. */
std::string writeSmallPack(const ScratchDir& dir, const std::string& extraTypes = "",
                           const std::string& extraModels = "");

/** One ApplySolidSample call. */
struct SolidSampleCall
{
    std::u16string design;
    int32_t rotation = 0;
    int32_t ceilingScale = 0;
};

/** What the stand-in module was given. */
struct ModuleLog
{
    std::vector<std::string> calls;
    std::vector<int32_t> candyTypeIds;
    std::vector<const void*> candyTypePictures;
    std::vector<int32_t> candyTypePictureSizes;
    std::vector<std::string> candyTypeProfiles;
    std::vector<int32_t> modelIds;
    std::vector<int32_t> modelCategories;
    std::vector<std::string> modelMaterials;
    std::vector<const void*> modelPictures;
    std::vector<int32_t> modelKindAndFlags;
    std::vector<std::string> homeDirs;
    std::vector<int32_t> sampleIds;
    std::vector<std::vector<uint8_t>> sampleBlocks;
    std::vector<std::u16string> samplePolygons;
    int32_t samplePictureSize = 0;
    std::vector<SolidSampleCall> solidSamples;
    std::u16string designText;
    std::u16string returnedSolid; // what ShowSolidDesignDialog answers
    bool returnError = false;
};
ModuleLog& moduleLog();
/** The stand-in module's exports; resets the log. */
vhost::ModuleExports fakeModule();

} // namespace hosttest
