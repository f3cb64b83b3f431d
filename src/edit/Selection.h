// The facilities selected in the 3D window, in the order they were selected. A selected
// facility shows its cloak. Facilities leaving the document are taken out (forget), so the
// selection never holds a pointer to one that is gone.
#pragma once

#include <vector>

class CSolidFacility;

class Selection
{
public:
    /** The selected facilities, in selection order. */
    const std::vector<CSolidFacility*>& items() const { return items_; }
    bool empty() const { return items_.empty(); }
    std::size_t size() const { return items_.size(); }
    bool contains(const CSolidFacility* facility) const;

    /** Adds `facility` (once) and shows its cloak. */
    void add(CSolidFacility& facility);
    /** Hides every cloak and empties the selection. */
    void clear();
    /** Makes `facility` the only selected one. */
    void selectOnly(CSolidFacility& facility);
    /** Takes `facility` out (hiding its cloak when it still has one); nothing when absent. */
    void forget(const CSolidFacility* facility);
    /** Shows the cloak of every selected facility again (after the scene was rebuilt). */
    void showCloaks();

private:
    std::vector<CSolidFacility*> items_;
};
