// A design catalogue for tests: a few panel types and facility models made directly, the seven
// built-in models at the head of the model list, and a record of the calls made.
#pragma once

#include "catalogue/CCandyType.h"
#include "catalogue/CFacilityModel.h"
#include "support/ListDesignCatalogue.h"

#include <memory>
#include <vector>

class FakeDesignCatalogue : public testsupport::ListDesignCatalogue
{
public:
    /** Panel type ids: a 600 x 600 mm panel, a 300 x 300 mm lamp, a 1200 x 600 mm panel. */
    static constexpr int kPanel = 11;
    static constexpr int kLamp = 12;
    static constexpr int kLongPanel = 13;
    /** Facility model ids after the built-ins: a fridge (type 7) and a picture. */
    static constexpr int kFridge = 100;
    static constexpr int kPicture = 101;

    /** With `builtIns` false the model list holds only the two poured models. */
    explicit FakeDesignCatalogue(bool builtIns = true);

    void loadStaticSample(int sampleId) override { loadedSamples.push_back(sampleId); }

    std::vector<int> loadedSamples;
};
