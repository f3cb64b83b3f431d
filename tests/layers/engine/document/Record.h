// A document record holding an engine pointer: the check must refuse it.
#pragma once

namespace irr::scene {
class ISceneNode;
}

struct Record
{
    irr::scene::ISceneNode* node = nullptr;
};
