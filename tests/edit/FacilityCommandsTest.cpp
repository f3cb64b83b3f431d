// The facility commands of the context menus: each is one undo step that undo and redo take
// back and forth to the same written design; grouping and ungrouping leave every member where
// it was seen, in the room and against a wall; a facility leaving the document leaves the
// selection and no group keeps it.
#include "MenuTestRoom.h"

#include "edit/FacilityEdits.h"
#include "edit/FacilityPlacement.h"
#include "edit/Selection.h"
#include "scene/CCustomSceneNode.h"
#include "scene/FacilityScene.h"
#include "scene/WallScene.h"

#include <functional>

using namespace irr;

namespace menutest {
namespace {

class FacilityCommandsTest : public MenuTestRoom
{
protected:
    void SetUp() override
    {
        MenuTestRoom::SetUp();
        // Off-centre meshes, so that a placement error shows in the matrices.
        table_ = &boxModel(9001, 1, {100, 50, -300}, {8100, 7550, 5700});
        cabinet_ = &boxModel(9002, 1 | (1 << 16), {0, 0, 0}, {6000, 9000, 4000});
        lamp_ = &boxModel(9003, 1, {-1000, 0, -1000}, {1000, 3000, 1000});
    }

    /** Runs `edit` and checks that undo gives back `start` and redo the edited text. */
    void expectUndoable(const std::function<void()>& edit, const char* what)
    {
        SCOPED_TRACE(what);
        const std::string start = written();
        const int steps = stack_->index();
        edit();
        ASSERT_EQ(stack_->index(), steps + 1);
        const std::string edited = written();
        EXPECT_NE(edited, start);
        stack_->undo();
        EXPECT_EQ(written(), start);
        stack_->redo();
        EXPECT_EQ(written(), edited);
        stack_->undo();
        EXPECT_EQ(written(), start);
    }

    std::vector<core::matrix4> absolutes(const std::vector<CSolidFacility*>& facilities)
    {
        std::vector<core::matrix4> matrices;
        for (CSolidFacility* f : facilities) {
            EXPECT_NE(vs::facilityNode(*f), nullptr);
            matrices.push_back(vs::facilityNode(*f) ? absolute(vs::facilityNode(*f))
                                                    : core::matrix4());
        }
        return matrices;
    }

    void expectInPlace(const std::vector<CSolidFacility*>& facilities,
                       const std::vector<core::matrix4>& before)
    {
        const std::vector<core::matrix4> now = absolutes(facilities);
        for (std::size_t i = 0; i < now.size(); ++i)
            EXPECT_TRUE(near(now[i], before[i])) << "member " << i;
    }

    CSolidFacility& stuck(CFacilityModel& model, CWall& wall, float along, float height)
    {
        CSolidFacility& f = addFacility(model, Vec3f{0, height, 0});
        vs::stickFacilityToWall(f, 0, along, &wall, *doc_);
        return f;
    }

    CFacilityModel* table_ = nullptr;
    CFacilityModel* cabinet_ = nullptr;
    CFacilityModel* lamp_ = nullptr;
};

TEST_F(FacilityCommandsTest, EveryCommandKindIsUndoneToTheWrittenDesignByteForByte)
{
    CSolidFacility& a = addFacility(*table_, Vec3f{10000, 0, 12000}, 30);
    CSolidFacility& b = addFacility(*lamp_, Vec3f{20000, 500, 8000});
    CSolidFacility& c = stuck(*cabinet_, *doc_->walls[1], 9000, 3000);
    Selection& selection = wnd_->selection();

    selection.selectOnly(a);
    expectUndoable([&] { vs::turnSelectedFacilities(*wnd_, 90); }, "turn left");
    expectUndoable([&] { vs::turnSelectedFacilities(*wnd_, -90); }, "turn right");
    expectUndoable([&] { vs::stickSelectedToTop(*wnd_); }, "stick to top");
    selection.selectOnly(b);
    expectUndoable([&] { vs::stickSelectedToFloor(*wnd_); }, "stick to floor");
    expectUndoable([&] { vs::stickSelectedToWall(*wnd_, *doc_->walls[2], 7000); },
                   "stick to a wall");
    selection.selectOnly(c);
    expectUndoable([&] { vs::unstickSelectedFacilities(*wnd_); }, "unstick");
    expectUndoable([&] { vs::deleteSelectedFacilities(*wnd_); }, "delete a stuck one");
    selection.selectOnly(a);
    selection.add(b);
    expectUndoable([&] { vs::deleteSelectedFacilities(*wnd_); }, "delete two");
    expectUndoable([&] { vs::groupSelectedFacilities(*wnd_); }, "group");

    vs::groupSelectedFacilities(*wnd_);
    ASSERT_EQ(selection.size(), 1u);
    expectUndoable([&] { vs::ungroupSelectedFacilities(*wnd_); }, "ungroup");
    EXPECT_EQ(stack_->undoText(), QStringLiteral("组合"));
}

TEST_F(FacilityCommandsTest, GroupingAndUngroupingLeaveEveryMemberWhereItWas)
{
    CSolidFacility& a = addFacility(*table_, Vec3f{10000, 0, 12000}, 30);
    CSolidFacility& b = addFacility(*lamp_, Vec3f{20000, 4000, 8000}, 270);
    CSolidFacility& c = stuck(*cabinet_, *doc_->walls[1], 9000, 3000);
    const std::vector<CSolidFacility*> members{&a, &b, &c};
    const std::vector<core::matrix4> before = absolutes(members);
    Selection& selection = wnd_->selection();
    for (CSolidFacility* f : members)
        selection.add(*f);

    // The table is the largest: the group stands free around the three.
    vs::groupSelectedFacilities(*wnd_);
    ASSERT_EQ(selection.size(), 1u);
    CSolidFacility& group = *selection.items().front();
    EXPECT_TRUE(group.isGroup());
    EXPECT_EQ(group.stickWall, nullptr);
    ASSERT_EQ(group.children.size(), 3u);
    EXPECT_EQ(group.children[0].get(), &a);
    EXPECT_EQ(doc_->solidFacilities.back().get(), &group);
    EXPECT_EQ(doc_->solidFacilities.size(), 1u);
    EXPECT_EQ(c.stickWall, nullptr);
    EXPECT_FLOAT_EQ(group.customZoom, 1);
    expectInPlace(members, before);
    // The group's box holds every member's box and rests on the lowest member.
    EXPECT_NEAR(group.position.y, 0, 1e-3);
    EXPECT_GT(group.size.x, 8000);

    vs::ungroupSelectedFacilities(*wnd_);
    EXPECT_TRUE(selection.empty());
    ASSERT_EQ(doc_->solidFacilities.size(), 3u);
    EXPECT_TRUE(group.children.empty());
    expectInPlace(members, before);

    stack_->undo(); // grouped again
    expectInPlace(members, before);
    stack_->undo(); // as at the start
    expectInPlace(members, before);
    EXPECT_EQ(c.stickWall, doc_->walls[1].get());
}

TEST_F(FacilityCommandsTest, AGroupWhoseLargestMemberIsStuckToAWallStaysOnThatWall)
{
    for (std::size_t w : {std::size_t(0), std::size_t(1)}) {
        SCOPED_TRACE(w);
        CWall& wall = *doc_->walls[w];
        CSolidFacility& big = stuck(*cabinet_, wall, 8000, 2000);
        CSolidFacility& small = stuck(*lamp_, wall, 16000, 9000);
        small.position.z = 1500; // off the wall
        vs::updateFacilityTransformation(small, *doc_);
        CSolidFacility& free = addFacility(*lamp_, Vec3f{15000, 0, 15000}, 45);
        const std::vector<CSolidFacility*> members{&small, &big, &free};
        const std::vector<core::matrix4> before = absolutes(members);
        Selection& selection = wnd_->selection();
        selection.clear();
        for (CSolidFacility* f : members)
            selection.add(*f);

        vs::groupSelectedFacilities(*wnd_);
        ASSERT_EQ(selection.size(), 1u);
        CSolidFacility& group = *selection.items().front();
        EXPECT_EQ(group.stickWall, &wall);
        expectInPlace(members, before);

        vs::ungroupSelectedFacilities(*wnd_);
        expectInPlace(members, before);
        stack_->undo();
        stack_->undo();
        expectInPlace(members, before);
        EXPECT_EQ(big.stickWall, &wall);
        stack_->clear();
        selection.clear();
        doc_->solidFacilities.clear();
    }
}

TEST_F(FacilityCommandsTest, UnstickingKeepsTheFacilityWhereItStood)
{
    CSolidFacility& c = stuck(*cabinet_, *doc_->walls[2], 9000, 3000);
    const core::matrix4 before = absolute(vs::facilityNode(c));
    wnd_->selection().selectOnly(c);
    vs::unstickSelectedFacilities(*wnd_);
    EXPECT_EQ(c.stickWall, nullptr);
    EXPECT_TRUE(near(absolute(vs::facilityNode(c)), before));
}

TEST_F(FacilityCommandsTest, DeletedFacilitiesLeaveTheSelectionAndComeBackOnUndo)
{
    CSolidFacility& a = addFacility(*table_, Vec3f{10000, 0, 12000});
    CSolidFacility& b = addFacility(*lamp_, Vec3f{20000, 0, 8000});
    Selection& selection = wnd_->selection();
    selection.add(a);
    selection.add(b);
    vs::groupSelectedFacilities(*wnd_);
    CSolidFacility* group = selection.items().front();

    // Undoing the group takes the members out of it: it holds no pointer to them any more.
    stack_->undo();
    EXPECT_TRUE(group->children.empty());
    EXPECT_EQ(selection.items(), (std::vector<CSolidFacility*>{&a, &b}));

    vs::deleteSelectedFacilities(*wnd_);
    EXPECT_TRUE(selection.empty());
    EXPECT_TRUE(doc_->solidFacilities.empty());
    EXPECT_EQ(vs::facilityNode(a), nullptr);
    stack_->undo();
    ASSERT_EQ(doc_->solidFacilities.size(), 2u);
    EXPECT_EQ(doc_->solidFacilities[0].get(), &a);
    EXPECT_NE(vs::facilityNode(a), nullptr);
    EXPECT_TRUE(selection.contains(&b));

    // Deleting a group takes its members with it; the selection holds none of them.
    vs::groupSelectedFacilities(*wnd_);
    vs::deleteSelectedFacilities(*wnd_);
    EXPECT_TRUE(selection.empty());
    EXPECT_TRUE(doc_->solidFacilities.empty());
}

TEST_F(FacilityCommandsTest, AFacilityThatOpensItsWallLeavesNoHoleWhenItGoes)
{
    CWall& wall = *doc_->walls[1];
    ASSERT_FALSE(wall.wallParts.empty());
    CWallPart& part = *wall.wallParts[0];
    ASSERT_NE(vs::wallPartNode(part), nullptr);
    const auto triangles = [&part] {
        u32 count = 0;
        scene::IMesh* mesh = vs::wallPartNode(part)->getMesh();
        for (u32 i = 0; i < mesh->getMeshBufferCount(); ++i)
            count += mesh->getMeshBuffer(i)->getIndexCount() / 3;
        return count;
    };
    const u32 whole = triangles();
    CSolidFacility& door = stuck(*cabinet_, wall, 9000, 0);
    const u32 opened = triangles();
    ASSERT_NE(opened, whole);

    wnd_->selection().selectOnly(door);
    vs::deleteSelectedFacilities(*wnd_);
    EXPECT_EQ(triangles(), whole);
    stack_->undo();
    EXPECT_EQ(triangles(), opened);

    vs::unstickSelectedFacilities(*wnd_);
    EXPECT_EQ(triangles(), whole);
    stack_->undo();
    EXPECT_EQ(triangles(), opened);
}

TEST_F(FacilityCommandsTest, CommandsWithoutWhatTheyNeedDoNothing)
{
    CSolidFacility& a = addFacility(*table_, Vec3f{10000, 0, 12000});
    wnd_->selection().selectOnly(a);
    vs::groupSelectedFacilities(*wnd_);   // one facility
    vs::ungroupSelectedFacilities(*wnd_); // no group
    vs::unstickSelectedFacilities(*wnd_); // not stuck
    wnd_->selection().clear();
    vs::deleteSelectedFacilities(*wnd_);
    vs::stickSelectedToWall(*wnd_, *doc_->walls[0], 100);
    EXPECT_EQ(stack_->count(), 0);
    EXPECT_EQ(doc_->solidFacilities.size(), 1u);
}

} // namespace
} // namespace menutest
