#include "plugin/SolidSample.h"

#include "catalogue/ModuleDesignCatalogue.h"
#include "ceiling/DesignReader.h"
#include "ceiling/SolidSampleMapping.h"
#include "document/CSolidDocument.h"
#include "edit/EditCommand.h"
#include "edit/SolidSampleCommand.h"
#include "view/CSolidWnd.h"
#include "view/CVantrelSolidView.h"

#include <pugixml.hpp>

#include <memory>
#include <stdexcept>

namespace vs {
namespace {

/** The module's catalogues for a sample read: a sample's static sample belongs to the sample,
 *  so the host is not asked to load it into the open design. */
class SampleCatalogue : public ModuleDesignCatalogue
{
public:
    void loadStaticSample(int) override {}
};

/** Refuses what the reader would take for an empty design: applying one would only clear the
 *  user's room. */
void checkIsXml(const std::string& sampleXml)
{
    if (sampleXml.empty())
        throw std::invalid_argument("the sample design is empty");
    pugi::xml_document xml;
    const pugi::xml_parse_result parsed = xml.load_buffer(sampleXml.data(), sampleXml.size());
    if (!parsed)
        throw std::invalid_argument(std::string("the sample design is not XML: ") +
                                    parsed.description() + " at offset " +
                                    std::to_string(parsed.offset));
}

} // namespace

void applySolidSample(CSolidDocument& document, const std::string& sampleXml, int angle,
                      int ceilingScale)
{
    checkIsXml(sampleXml);
    CSolidDocument sample;
    SampleCatalogue catalogue;
    readDesign(sampleXml, sample, ceilingScale, catalogue);
    SolidContents contents = mapSolidSample(sample, document, angle);

    CSolidWnd* window = document.view ? document.view->solidWnd() : nullptr;
    if (window != nullptr) {
        runEdit(*window, std::make_unique<SolidSampleCommand>(*window, std::move(contents)));
        return;
    }
    exchangeSolidContents(document, contents); // what the room held goes with `contents`
}

} // namespace vs
