#include "edit/ContextMenu.h"

namespace vs {

void showContextMenu(DesignView&, const QPoint&)
{
}

} // namespace vs
