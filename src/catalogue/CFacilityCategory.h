// A facility category (category, brand or series level of the 3D catalogue).
#pragma once

#include <string>
#include <vector>

class CFacilityModel;

struct CFacilityCategory
{
    int id = 0;
    int parentId = 0; ///< <= 0: top level
    std::string name;
    std::vector<CFacilityModel*> models;      ///< not owned
    std::vector<CFacilityCategory*> children; ///< not owned
    CFacilityCategory* parent = nullptr;
};
