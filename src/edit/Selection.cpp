#include "edit/Selection.h"

#include <algorithm>

bool Selection::contains(const CSolidFacility* facility) const
{
    return std::find(items_.begin(), items_.end(), facility) != items_.end();
}

void Selection::add(CSolidFacility& facility)
{
    if (!contains(&facility))
        items_.push_back(&facility);
}

void Selection::clear()
{
    items_.clear();
}

void Selection::selectOnly(CSolidFacility& facility)
{
    clear();
    add(facility);
}

void Selection::forget(const CSolidFacility* facility)
{
    items_.erase(std::remove(items_.begin(), items_.end(), facility), items_.end());
}
