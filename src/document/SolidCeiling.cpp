#include "SolidCeiling.h"

#include "CGridMapping.h"

SolidCeiling::SolidCeiling() = default;

SolidCeiling::~SolidCeiling() = default;
