// Picking in the 3D window on the null device: what lies under a pixel, the facing rules and
// the order that wins ties.
#include "EditFixture.h"

#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"
#include "edit/Picker.h"

namespace {

using edittest::EditFixture;
using Kind = PickResult::Kind;

class PickTest : public EditFixture
{
};

TEST_F(PickTest, Probe)
{
    open("kitchen");
    int counts[6] = {};
    for (int y = 0; y < 600; y += 20)
        for (int x = 0; x < 800; x += 20)
            counts[int(vs::pick(wnd(), x, y).kind)]++;
    for (int i = 0; i < 6; ++i)
        std::printf("kind %d: %d\n", i, counts[i]);
}

} // namespace
