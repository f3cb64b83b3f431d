// A document record that reaches up into the scene: the layer check must refuse it.
#pragma once

#include "scene/CSolidSceneNode.h"
