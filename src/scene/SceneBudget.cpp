#include "scene/SceneBudget.h"

#include <cstdio>

namespace vs {
namespace {

struct Running
{
    bool active = false;
    uint64_t used = 0;
    bool exceeded = false;
};

Running running;
bool lastOverBudget = false;

} // namespace

SceneBudget::SceneBudget()
{
    running = Running{true, 0, false};
}

SceneBudget::~SceneBudget()
{
    lastOverBudget = running.exceeded;
    if (running.exceeded)
        std::fprintf(stderr,
                     "VantrelSolid: the design needs more than %llu triangles; the room is drawn "
                     "only in part\n",
                     static_cast<unsigned long long>(kMaxSceneTriangles));
    running = Running{};
}

bool SceneBudget::exceeded() const
{
    return running.exceeded;
}

bool chargeSceneTriangles(uint64_t triangles)
{
    if (!running.active)
        return true;
    if (triangles > kMaxSceneTriangles - running.used) {
        running.exceeded = true;
        return false;
    }
    running.used += triangles;
    return true;
}

bool sceneBudgetSpent()
{
    return running.active && running.exceeded;
}

bool lastSceneOverBudget()
{
    return lastOverBudget;
}

} // namespace vs
