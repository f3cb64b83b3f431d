// The bound on what one build of a room's scene may make: a design that asks for more geometry
// than any room needs is drawn up to the bound, and says so, instead of exhausting memory.
#pragma once

#include <cstdint>

namespace vs {

/**
 * Most triangles one build of a room's scene makes: about 200 MB of engine geometry. A
 * 100 m x 100 m hall under 110 000 panels with tiled walls and floor needs about a tenth of
 * it, a kitchen a hundredth; only absurd tile sizes, meshes, counts or rooms kilometres long
 * reach it.
 */
constexpr uint64_t kMaxSceneTriangles = 2000000;

/**
 * Counts the triangles the scene's builders make while it lives (one build of a room's scene,
 * on the user-interface thread; builds do not nest), and refuses those beyond
 * kMaxSceneTriangles. Outside a build nothing is counted: an edit rebuilds bounded pieces.
 */
class SceneBudget
{
public:
    SceneBudget();
    ~SceneBudget();
    SceneBudget(const SceneBudget&) = delete;
    SceneBudget& operator=(const SceneBudget&) = delete;

    /** Whether some geometry was refused. */
    bool exceeded() const;
};

/** Takes `triangles` from the running build's budget. Returns false, taking nothing, when they
 *  do not fit: the caller then builds none of them. Always true outside a build. */
bool chargeSceneTriangles(uint64_t triangles);

/** Whether the running build has already refused geometry (false outside a build). */
bool sceneBudgetSpent();

/** Whether the last finished build of a room's scene left geometry out for want of budget. */
bool lastSceneOverBudget();

} // namespace vs
