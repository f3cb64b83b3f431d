// The camera models of the 3D window without an engine device: the globe trackball, the
// first-person eye and the change-top corner handles.
#include "view/CChangeTopView.h"
#include "view/CFirstPersonEye.h"
#include "view/CTrackball.h"

#include <gtest/gtest.h>

#include <cmath>

using irr::core::vector3df;

namespace {

vector3df turned(const Quat4f& q, const vector3df& v)
{
    vector3df out = v;
    CTrackball::rotationMatrix(q).rotateVect(out);
    return out;
}

void expectNear(const vector3df& a, const vector3df& b)
{
    EXPECT_NEAR(a.X, b.X, 1e-4f);
    EXPECT_NEAR(a.Y, b.Y, 1e-4f);
    EXPECT_NEAR(a.Z, b.Z, 1e-4f);
}

} // namespace

TEST(TrackballTest, DragTurnsByTheScaledArcAndTinyDragsChangeNothing)
{
    CTrackball ball;
    ball.beginDrag(CTrackball::mapToSphere(200, 150, 400, 300)); // (0, 1, 0)
    // A 1-pixel move: arc ~0.005 rad, x 1.2 stays under 0.02.
    EXPECT_FALSE(ball.dragTo(CTrackball::mapToSphere(201, 150, 400, 300)));
    EXPECT_EQ(ball.rotation(), Quat4f{});

    const vector3df to = CTrackball::mapToSphere(260, 150, 400, 300);
    ASSERT_TRUE(ball.dragTo(to));
    const float arc = std::acos(vector3df(0, 1, 0).dotProduct(vector3df(to).normalize()));
    const Quat4f q = ball.rotation();
    EXPECT_NEAR(2 * std::acos(q.w), arc * CTrackball::AngleFactor, 1e-4f);
    // The base stays until the drag is committed; later drags start from the committed turn.
    EXPECT_EQ(ball.baseRotation(), Quat4f{});
    ball.commit();
    EXPECT_FALSE(ball.dragging());
    EXPECT_EQ(ball.baseRotation(), q);
    EXPECT_FALSE(ball.dragTo(to)); // not dragging any more
}

TEST(TrackballTest, ComposeTurnsByTheFirstThenTheSecond)
{
    const float s = std::sqrt(0.5f);
    const Quat4f aboutY{0, s, 0, s}; // 90 degrees about y
    const Quat4f aboutX{s, 0, 0, s}; // 90 degrees about x
    const vector3df v(1, 0, 0);
    const vector3df expected = turned(aboutX, turned(aboutY, v));
    expectNear(turned(CTrackball::compose(aboutY, aboutX), v), expected);
    // Order matters: the other way round gives another vector.
    EXPECT_GT((turned(CTrackball::compose(aboutX, aboutY), v) - expected).getLength(), 0.5f);
}

TEST(TrackballTest, MatrixCentresThenTurnsThenTranslates)
{
    CTrackball ball;
    const float s = std::sqrt(0.5f);
    ball.setRotation(Quat4f{0, 0, s, s}); // 90 degrees about z: x -> y
    ball.setCentring(vector3df(-10, 0, 0));
    ball.setBallTranslation(vector3df(0, 0, 5));
    vector3df p(11, 0, 0);
    ball.matrix().transformVect(p);
    expectNear(p, vector3df(0, 1, 5));
}

TEST(TrackballTest, SphereMappingOfEdgesAndEmptyClients)
{
    expectNear(CTrackball::mapToSphere(0, 0, 400, 300), vector3df(1, 0, 1)); // outside: r <= 0
    expectNear(CTrackball::mapToSphere(5, 5, 0, 0), vector3df(0, 1, 0));
    const vector3df p = CTrackball::mapToSphere(300, 100, 400, 300);
    EXPECT_NEAR(p.getLength(), 1.0f, 1e-5f);
    // A corrupt stored rotation never leaves a non-unit quaternion behind.
    CTrackball ball;
    ball.setRotation(Quat4f{0, 0, 0, 0});
    EXPECT_EQ(ball.rotation(), Quat4f{});
}

TEST(FirstPersonEyeTest, PitchStopsAtNinetyDegreesAndYawWraps)
{
    CFirstPersonEye eye;
    eye.turnByMouse(0, 15 * 200); // +200 degrees asked
    EXPECT_DOUBLE_EQ(eye.pitch, 90);
    eye.turnByMouse(0, -15 * 500);
    EXPECT_DOUBLE_EQ(eye.pitch, -90);

    eye.yaw = 359.9;
    eye.turnByMouse(2, 0); // +0.2
    EXPECT_NEAR(eye.yaw, 0.1, 1e-9);
    eye.turnByMouse(-3, 0); // -0.3
    EXPECT_NEAR(eye.yaw, 359.8, 1e-9);
    eye.turn(-720.5);
    EXPECT_GE(eye.yaw, 0);
    EXPECT_LT(eye.yaw, 360);
    eye.setAngles(std::nan(""), 1e9);
    EXPECT_EQ(eye.yaw, 0);
    EXPECT_EQ(eye.pitch, 90);
}

TEST(FirstPersonEyeTest, LookFollowsYawAndPitch)
{
    CFirstPersonEye eye;
    expectNear(eye.look(), vector3df(0, 0, 1));
    eye.setAngles(90, 0);
    expectNear(eye.look(), vector3df(1, 0, 0));
    eye.setAngles(0, 90); // positive pitch looks down
    expectNear(eye.look(), vector3df(0, -1, 0));
}

TEST(FirstPersonEyeTest, WalkingKeepsTheEyeHeightWhileLookingUpOrDown)
{
    CFirstPersonEye eye;
    eye.position = vector3df(100, 13500, 200);
    eye.setAngles(90, -60);
    eye.walk(600);
    expectNear(eye.position, vector3df(700, 13500, 200));
    eye.setAngles(180, 80);
    eye.walk(-600);
    expectNear(eye.position, vector3df(700, 13500, 800));
}

TEST(ChangeTopViewTest, HitCornerTestsFromTheLastCornerWithItsTolerances)
{
    CChangeTopView view;
    view.setCorners({QPoint(10, 10), QPoint(100, 10), QPoint(100, 80), QPoint(12, 11)});
    EXPECT_EQ(view.hitCorner(11, 11), 3); // corners 0 and 3 both near: the last wins
    EXPECT_EQ(view.hitCorner(103, 10), 1);
    EXPECT_EQ(view.hitCorner(104, 10), -1); // more than 3 across
    EXPECT_EQ(view.hitCorner(100, 83), 2);
    EXPECT_EQ(view.hitCorner(100, 84), -1); // 4 down is too far
    EXPECT_EQ(view.hitCorner(100, 76), -1);

    ASSERT_TRUE(view.beginDrag(QPoint(101, 79)));
    EXPECT_EQ(view.dragIndex(), 2);
    EXPECT_EQ(view.dragTarget(QPoint(131, 69)), QPoint(130, 70));
    view.endDrag();
    EXPECT_EQ(view.dragIndex(), -1);
    EXPECT_FALSE(view.beginDrag(QPoint(50, 50)));
    EXPECT_DOUBLE_EQ(CChangeTopView::wheelZoom(1.0, -120), 0.9);
}
