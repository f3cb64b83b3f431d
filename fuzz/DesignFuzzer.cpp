// Feeds arbitrary bytes to the design reader as a design text, then writes the solid element
// of whatever was read. Malformed designs may only be refused with std::invalid_argument.
#include "catalogue/CCandyType.h"
#include "catalogue/CFacilityModel.h"
#include "ceiling/DesignReader.h"
#include "ceiling/SolidWriter.h"
#include "document/CSolidDocument.h"
#include "document/DesignCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A few panel types (ids 11 to 13, a section bar 20) and the seven built-in models plus two.
class FuzzCatalogue : public DesignCatalogue
{
public:
    FuzzCatalogue()
    {
        const int models[][5] = {
            {-1, -1, 0, 0, 0},       {-2, -2, 6000, 6000, 4}, {-3, -3, 6000, 2000, 5},
            {-4, -4, 3000, 3000, 4}, {-5, -5, 3000, 3000, 3}, {-6, -4, 3000, 3000, 4},
            {-7, -5, 4400, 2960, 3}, {100, 7, 6000, 6000, 0}, {101, 0, 9000, 6000, 0x10000}};
        for (const auto& m : models) {
            FacilityModelInfo info;
            info.id = m[0];
            info.typeId = m[1];
            info.width = m[2];
            info.height = m[3];
            info.kindAndFlags = m[4];
            models_.push_back(std::make_unique<CFacilityModel>(info, nullptr));
        }
        const int types[][4] = {
            {11, 1, 6000, 6000}, {12, 3, 3000, 3000}, {13, 2, 12000, 600}, {20, 7, 0, 0}};
        for (const auto& t : types) {
            CandyTypeInfo info;
            info.id = t[0];
            info.kind = t[1];
            info.width = t[2];
            info.height = t[3];
            types_.push_back(std::make_unique<CCandyType>(info, nullptr));
        }
    }

    CCandyType* candyType(int id) override
    {
        for (auto& type : types_)
            if (id != 0 && type->id == id)
                return type.get();
        return nullptr;
    }
    CFacilityModel* facilityModel(int id, int typeId) override
    {
        for (auto& model : models_)
            if (model->id == id || (typeId != 0 && model->typeId == typeId))
                return model.get();
        return nullptr;
    }
    CFacilityModel* builtInModel(size_t position) override
    {
        return position >= 1 && position <= models_.size() ? models_[position - 1].get() : nullptr;
    }
    void loadStaticSample(int) override {}

private:
    std::vector<std::unique_ptr<CCandyType>> types_;
    std::vector<std::unique_ptr<CFacilityModel>> models_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzCatalogue catalogue;
    std::string text(reinterpret_cast<const char*>(data), size);
    CSolidDocument document;
    try {
        vs::readDesign(text, document, 1, catalogue);
    } catch (const std::invalid_argument&) {
        // Refused; the partly filled document must still be written and deleted safely.
    }
    std::string solid = vs::writeSolid(document);
    (void)solid;
    return 0;
}
