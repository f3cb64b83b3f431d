#include "HostSession.h"

#include "HostText.h"
#include "StaticSampleChooser.h"

#include <QApplication>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace vhost {
namespace {

HostSession* g_active = nullptr;

void report(const char* callback, const std::exception& error)
{
    std::fprintf(stderr, "vantrel-host: %s: %s\n", callback, error.what());
}

void report(const char* callback, const std::string& message)
{
    std::fprintf(stderr, "vantrel-host: %s: %s\n", callback, message.c_str());
}

/** Runs a callback body on the active session; errors are reported, never thrown. */
template <typename R, typename Body> R guarded(const char* callback, R fallback, Body body)
{
    HostSession* session = HostSession::active();
    if (session == nullptr) {
        report(callback, "called without a host session");
        return fallback;
    }
    try {
        return body(*session);
    } catch (const std::exception& error) {
        report(callback, error);
    } catch (...) {
        report(callback, "unknown error");
    }
    return fallback;
}

int32_t defaultChooser(const std::vector<PackStaticSample>& samples)
{
    if (QApplication::instance() == nullptr || samples.empty())
        return 0;
    StaticSampleChooser chooser(samples, QApplication::activeWindow());
    return chooser.exec() == QDialog::Accepted ? chooser.chosenId() : 0;
}

SolidSampleChoice defaultSolidChooser(const std::vector<PackSolidSample>& samples)
{
    if (QApplication::instance() == nullptr || samples.empty())
        return {};
    SolidSampleChooser chooser(samples, QApplication::activeWindow());
    return chooser.exec() == QDialog::Accepted ? chooser.choice() : SolidSampleChoice{};
}

} // namespace

HostSession::HostSession(ModuleExports module, CataloguePack pack, ModelOverrides overrides)
    : module_(module), pack_(std::move(pack)), overrides_(std::move(overrides)),
      chooser_(defaultChooser), solidChooser_(defaultSolidChooser)
{
    g_active = this;
}

HostSession::~HostSession()
{
    if (g_active == this)
        g_active = nullptr;
    for (void* block : blocks_) // blocks the module never gave back
        std::free(block);
}

HostSession* HostSession::active()
{
    return g_active;
}

const char* HostSession::keep(const std::string& utf8)
{
    strings_.push_back(toLocale(utf8));
    return strings_.back().c_str();
}

void HostSession::pour(const std::string& homeDir, int32_t catalogueOption)
{
    module_.ClearMasterData();
    // Only now that the module dropped its catalogues may what it pointed into go.
    strings_.clear();
    pouredModels_.clear();
    floats_.clear();
    module_.BeginPourMasterData(homeDir.c_str(), catalogueOption, 0, freeModelData, getModelData,
                                composeDesignXml, addCeilingHost, moveCeilingHost,
                                deleteCeilingHost, rotateCeilingHost, layTiles, getCandyTypeImages,
                                chooseStaticSample, getCandyTypeTextures, loadStaticSample,
                                saveModelMaterials, setModelCategory);
    for (const PackCandyCategory& c : pack_.candyCategories())
        module_.AddCandyCategory(c.id, keep(c.name), c.parentId, c.order);
    for (const PackCandyType& t : pack_.candyTypes())
        addCandyType(t);
    for (const PackFacilityCategory& c : pack_.facilityCategories())
        module_.AddFacilityCategory(c.id, c.parentId, keep(c.name));
    for (const PackModel& m : pack_.models())
        addFacilityModel(m);
    module_.PostPourMasterData();
}

void HostSession::addCandyType(const PackCandyType& t)
{
    module_.AddCandyType(t.id, keep(t.name), t.kind, t.categoryId, t.nominalWidth, t.nominalHeight,
                         t.width, t.height, t.rotateDegree, t.listed ? 1 : 0, t.stripAcross ? 1 : 0,
                         bytesData(t.plan), bytesSize(t.plan), t.option14, t.tower,
                         keep(t.profile));
}

void HostSession::addFacilityModel(const PackModel& original)
{
    pouredModels_.push_back(overrides_.applied(original));
    const PackModel& m = pouredModels_.back();
    const float* rotation = nullptr;
    const float* natural = nullptr;
    if (m.baseRotation) {
        floats_.push_back(*m.baseRotation);
        rotation = floats_.back().data();
    }
    if (m.naturalSize) {
        floats_.push_back(*m.naturalSize);
        natural = floats_.back().data();
    }
    module_.AddFacilityModel(m.id, keep(m.name), (m.flags << 16) | (m.kind & 0xFFFF), m.listWidth,
                             m.listHeight, bytesData(m.picture), bytesSize(m.picture), m.width,
                             m.height, bytesData(m.texture), bytesSize(m.texture), m.length,
                             rotation, m.scaleX, m.scaleY, natural, m.zUp ? 1 : 0, m.categoryId,
                             m.typeId, m.option23 ? 1 : 0, keep(m.defaultMaterials));
}

DesignRunResult HostSession::runDesign(HostDesign& design)
{
    const std::u16string text = utf8ToUtf16(design.text());
    VsVariant result;
    module_.VsVariantInit(&result);
    design_ = &design;
    module_.ShowSolidDesignDialog(text.c_str(), &result);
    design_ = nullptr;
    DesignRunResult out;
    if (result.vt == VS_VT_ERROR) {
        out.failed = true;
        out.errorCode = result.scode;
    } else if (result.vt == VS_VT_BSTR && result.bstrVal != nullptr) {
        out.solid = utf16ToUtf8(result.bstrVal, module_.VsSysStringLen(result.bstrVal));
    }
    module_.VsVariantClear(&result);
    return out;
}

bool HostSession::exportPicture(HostDesign& design, const std::string& jpegPath, int32_t width,
                                int32_t height, int32_t viewMode)
{
    if (module_.ExportSolidPicture == nullptr)
        return false;
    const std::u16string text = utf8ToUtf16(design.text());
    design_ = &design;
    const int32 ok =
        module_.ExportSolidPicture(text.c_str(), jpegPath.c_str(), width, height, viewMode);
    design_ = nullptr;
    return ok != 0;
}

bool HostSession::exportRender(HostDesign& design, const std::string& imagePath, int32_t width,
                               int32_t height, int32_t viewMode, int32_t samplesPerSide,
                               bool shadows, int32_t brightness)
{
    if (module_.ExportSolidRender == nullptr)
        return false;
    const std::u16string text = utf8ToUtf16(design.text());
    design_ = &design;
    const int32 ok =
        module_.ExportSolidRender(text.c_str(), imagePath.c_str(), width, height, viewMode,
                                  samplesPerSide, shadows ? 1 : 0, brightness);
    design_ = nullptr;
    return ok != 0;
}

void HostSession::render(const std::string& homeDir, const std::string& name)
{
    module_.RenderRoom(homeDir.c_str(), name.c_str(), freeModelData, getModelData, requestCandyType,
                       getCandyTypeImages, getCandyTypeTextures, requestFacilityModel);
}

void HostSession::applyStaticSample(int32_t sampleId)
{
    const PackStaticSample* sample = pack_.staticSample(sampleId);
    if (sample == nullptr) {
        report("static sample", "the pack has no static sample " + std::to_string(sampleId));
        return;
    }
    // The mask block: six 32-bit integers (the rectangle at [1] to [4]), then the mask picture.
    const int32_t header[6] = {
        0, sample->maskRect[0], sample->maskRect[1], sample->maskRect[2], sample->maskRect[3], 0};
    sampleBlock_.assign(reinterpret_cast<const uint8_t*>(header),
                        reinterpret_cast<const uint8_t*>(header) + sizeof header);
    if (sample->mask)
        sampleBlock_.insert(sampleBlock_.end(), sample->mask->begin(), sample->mask->end());
    const std::u16string polygons = utf8ToUtf16(sample->polygonXml);
    module_.ApplyStaticSolidSample(sample->id, bytesData(sample->photo), bytesSize(sample->photo),
                                   sampleBlock_.data(), int32_t(sampleBlock_.size()),
                                   polygons.c_str());
}

void HostSession::chooseSolidSample()
{
    if (!solidChooser_ || pack_.solidSamples().empty())
        return;
    const SolidSampleChoice choice = solidChooser_(pack_.solidSamples());
    if (choice.id <= 0)
        return;
    const PackSolidSample* sample = pack_.solidSample(choice.id);
    if (sample == nullptr) {
        report("solid sample", "the pack has no solid sample " + std::to_string(choice.id));
        return;
    }
    const std::u16string design = utf8ToUtf16(sample->designXml);
    module_.ApplySolidSample(0, design.c_str(), choice.angle, sample->ceilingScale);
}

// ---- Callbacks ------------------------------------------------------------------------------

void HostSession::freeModelData(void* block)
{
    guarded("FreeModelData", 0, [&](HostSession& s) {
        if (block == nullptr)
            return 0;
        if (s.blocks_.erase(block) == 0) {
            report("FreeModelData", "a block this host did not hand out; left alone");
            return 0;
        }
        std::free(block);
        return 0;
    });
}

void HostSession::getModelData(int32 modelId, void** block, int32* blockSize)
{
    if (block)
        *block = nullptr;
    if (blockSize)
        *blockSize = 0;
    guarded("GetModelData", 0, [&](HostSession& s) {
        if (!block || !blockSize)
            throw std::invalid_argument("no place for the block");
        const PackModel* m = s.pack_.model(modelId);
        if (m == nullptr || !m->mesh || m->mesh->size() > size_t(INT32_MAX) - 4) {
            report("GetModelData", "model " + std::to_string(modelId) + " has no mesh in the pack");
            return 0;
        }
        const size_t size = 4 + m->mesh->size();
        auto* bytes = static_cast<uint8_t*>(std::malloc(size));
        if (bytes == nullptr)
            throw std::bad_alloc();
        const int32_t format = m->meshFormat;
        std::memcpy(bytes, &format, 4);
        std::memcpy(bytes + 4, m->mesh->data(), m->mesh->size());
        s.blocks_.insert(bytes);
        *block = bytes;
        *blockSize = int32(size);
        return 0;
    });
}

void HostSession::composeDesignXml(const char* solidXml, VsVariant* design)
{
    guarded("ComposeDesignXml", 0, [&](HostSession& s) {
        if (design == nullptr)
            throw std::invalid_argument("no variant to fill");
        if (s.design_ == nullptr)
            throw std::invalid_argument("no design is open");
        const std::u16string text = utf8ToUtf16(s.design_->composedWith(fromLocale(solidXml)));
        s.module_.VsVariantClear(design);
        VsBstr bstr = s.module_.VsSysAllocStringLen(text.data(), uint32_t(text.size()));
        if (bstr == nullptr) {
            design->vt = VS_VT_ERROR;
            design->scode = VS_E_OUTOFMEMORY;
            return 0;
        }
        design->vt = VS_VT_BSTR;
        design->bstrVal = bstr;
        return 0;
    });
}

int32 HostSession::addCeilingHost(int32 planeId, int32 hostTypeId, double x, double y,
                                  int32 rotateDegree, int32 isFree)
{
    return guarded("AddCeilingHost", int32(0), [&](HostSession& s) {
        if (s.design_ == nullptr) // still give the module an id it can use
            return ++s.spareHostId_;
        return s.design_->addHost(planeId, hostTypeId, x, y, rotateDegree, isFree != 0);
    });
}

int32 HostSession::moveCeilingHost(int32 planeId, int32 hostId, double dx, double dy)
{
    return guarded("MoveCeilingHost", int32(0), [&](HostSession& s) {
        if (s.design_ == nullptr || !s.design_->moveHost(planeId, hostId, dx, dy)) {
            report("MoveCeilingHost", "plane " + std::to_string(planeId) + " has no host " +
                                          std::to_string(hostId) + "; move refused");
            return int32(0);
        }
        return int32(1);
    });
}

void HostSession::deleteCeilingHost(int32 planeId, int32 hostId)
{
    guarded("DeleteCeilingHost", 0, [&](HostSession& s) {
        if (s.design_ == nullptr || !s.design_->deleteHost(planeId, hostId))
            report("DeleteCeilingHost",
                   "plane " + std::to_string(planeId) + " has no host " + std::to_string(hostId));
        return 0;
    });
}

void HostSession::rotateCeilingHost(int32 planeId, int32 hostId, int32 degrees)
{
    guarded("RotateCeilingHost", 0, [&](HostSession& s) {
        if (s.design_ == nullptr || !s.design_->rotateHost(planeId, hostId, degrees))
            report("RotateCeilingHost",
                   "plane " + std::to_string(planeId) + " has no host " + std::to_string(hostId));
        return 0;
    });
}

void HostSession::layTiles(int32 planeId, int32 tileTypeId, int32 rotateDegree,
                           const char* colsText, const char* rowsText)
{
    guarded("LayTiles", 0, [&](HostSession& s) {
        const TileRange cols = TileRange::parse(colsText);
        const TileRange rows = TileRange::parse(rowsText);
        if (s.design_ == nullptr)
            throw std::invalid_argument("no design is open");
        const CataloguePack& pack = s.pack_;
        s.design_->layTiles(planeId, tileTypeId, rotateDegree, cols, rows,
                            [&pack](int32_t id, int32_t& w, int32_t& h, int32_t& tower) {
                                const PackCandyType* t = pack.candyType(id);
                                if (t == nullptr)
                                    return false;
                                w = t->width > 0 ? t->width : t->nominalWidth;
                                h = t->height > 0 ? t->height : t->nominalHeight;
                                tower = t->tower;
                                return true;
                            });
        return 0;
    });
}

void HostSession::getCandyTypeImages(int32 typeId, const void** data1, int32* size1,
                                     const void** data2, int32* size2)
{
    const PackCandyType* t = nullptr;
    guarded("GetCandyTypeImages", 0, [&](HostSession& s) {
        t = s.pack_.candyType(typeId);
        return 0;
    });
    if (data1)
        *data1 = t ? bytesData(t->plan) : nullptr;
    if (size1)
        *size1 = t ? bytesSize(t->plan) : 0;
    if (data2)
        *data2 = t ? bytesData(t->plan2) : nullptr;
    if (size2)
        *size2 = t ? bytesSize(t->plan2) : 0;
}

int32 HostSession::chooseStaticSample(int32 on)
{
    return guarded("ChooseStaticSample", int32(0), [&](HostSession& s) {
        // The design dialog's "三维模板" button outside change top: furnish the room from a
        // solid sample.
        if (on == 0) {
            s.chooseSolidSample();
            return int32(0);
        }
        if (!s.chooser_)
            return int32(0);
        const int32_t id = s.chooser_(s.pack_.staticSamples());
        if (id > 0)
            s.applyStaticSample(id);
        return int32(id);
    });
}

void HostSession::getCandyTypeTextures(int32 typeId, int32 index, const void** data, int32* size)
{
    const PackCandyType* t = nullptr;
    guarded("GetCandyTypeTextures", 0, [&](HostSession& s) {
        t = s.pack_.candyType(typeId);
        return 0;
    });
    const bool valid = t != nullptr && index >= 0 && index < 4;
    if (data)
        *data = valid ? bytesData(t->textures[size_t(index)]) : nullptr;
    if (size)
        *size = valid ? bytesSize(t->textures[size_t(index)]) : 0;
}

void HostSession::loadStaticSample(int32 sampleId)
{
    guarded("LoadStaticSample", 0, [&](HostSession& s) {
        s.applyStaticSample(sampleId);
        return 0;
    });
}

void HostSession::saveModelMaterials(int32 modelId, const char* materialsXml)
{
    guarded("SaveModelMaterials", 0, [&](HostSession& s) {
        s.overrides_.setMaterials(modelId, fromLocale(materialsXml));
        s.overrides_.save();
        return 0;
    });
}

void HostSession::setModelCategory(int32 modelId, int32 categoryId)
{
    guarded("SetModelCategory", 0, [&](HostSession& s) {
        s.overrides_.setCategory(modelId, categoryId);
        s.overrides_.save();
        return 0;
    });
}

void HostSession::requestCandyType(int32 typeId)
{
    guarded("RequestCandyType", 0, [&](HostSession& s) {
        if (const PackCandyType* t = s.pack_.candyType(typeId))
            s.addCandyType(*t);
        else
            report("RequestCandyType", "the pack has no panel type " + std::to_string(typeId));
        return 0;
    });
}

void HostSession::requestFacilityModel(int32 modelId, int32 typeId)
{
    guarded("RequestFacilityModel", 0, [&](HostSession& s) {
        if (const PackModel* m = s.pack_.model(modelId, typeId))
            s.addFacilityModel(*m);
        else
            report("RequestFacilityModel", "the pack has no model " + std::to_string(modelId) +
                                               " (type " + std::to_string(typeId) + ")");
        return 0;
    });
}

} // namespace vhost
