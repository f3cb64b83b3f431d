#include "FakeDesignCatalogue.h"

FakeDesignCatalogue::FakeDesignCatalogue(bool builtIns)
{
    if (builtIns)
        addBuiltInModels();
    addModel(kFridge, 7, 6000, 6000);
    addModel(kPicture, 0, 9000, 6000);
    addType(kPanel, 6000, 6000);
    addType(kLamp, 3000, 3000, 3);
    addType(kLongPanel, 12000, 6000);
}
