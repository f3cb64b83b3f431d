// Picking in the 3D window on the null device: what lies under a pixel, the facing rules and
// the order that wins ties.
#include "EditFixture.h"

#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"
#include "edit/Picker.h"
#include "scene/WallScene.h"
#include "edit/DragCommands.h"

namespace {

using edittest::EditFixture;
using Kind = PickResult::Kind;

class PickTest : public EditFixture
{
};

TEST_F(PickTest, Probe)
{
    open("kitchen");
    const char* letters = ".CFWfL";
    for (int y = 0; y < 600; y += 20) {
        std::string line;
        for (int x = 0; x < 800; x += 10)
            line += letters[int(vs::pick(wnd(), x, y).kind)];
        std::printf("%s\n", line.c_str());
    }
    RPoint o = vs::roomPlanOrigin(doc());
    std::printf("origin %g %g inverted %d\n", o.x, o.y, int(doc().inverted));
    for (auto& f : doc().solidFacilities)
        std::printf("fac pos %g %g %g size %g %g %g wall %d rot %g\n", f->position.x,
                    f->position.y, f->position.z, f->size.x, f->size.y, f->size.z,
                    f->stickWall ? f->stickWall->index : -1, f->rotateDegree);
    for (auto& w : doc().walls)
        for (auto& fl : w->flatFacilities)
            std::printf("flat wall %d pos %g %g size %d %d share %g len %g h %g\n", w->index, fl->position.x,
                        fl->position.y, fl->flatSize.width, fl->flatSize.height, vs::flatShareOnWall(*w, *fl, fl->position), w->sceneLength, w->sceneHeight);
    for (auto& w : doc().walls) { auto poly = vs::wallPolygon(*w); for (auto& c : poly.contours) for (auto& p : c.points) std::printf("w%d (%g,%g) ", w->index, p.x, p.y); std::printf("\n"); }
    for (auto& l : doc().solidLights)
        std::printf("light %g %g %g host %p marker %d\n", l->position.x, l->position.y,
                    l->position.z, (void*)l->host, int(l->markerShown));
    for (auto& h : doc().ceiling->root->hosts)
        std::printf("host %d type %d gx %d gy %d rect %g %g %g %g free %d light %p\n", h->id,
                    h->candyType ? h->candyType->id : 0, h->gx, h->gy, h->rect.left, h->rect.top,
                    h->rect.right, h->rect.bottom, int(h->freePosition), (void*)h->light);
}

} // namespace
