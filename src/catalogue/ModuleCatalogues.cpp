#include "catalogue/ModuleCatalogues.h"

ModuleCatalogues& ModuleCatalogues::instance()
{
    static ModuleCatalogues catalogues;
    return catalogues;
}
