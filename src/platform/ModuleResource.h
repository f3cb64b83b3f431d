// The module's own resources (pictures of the built-in models, cursors, the scene template):
// Qt resources compiled into vantrel_core, addressed by a type and a numeric id or a name.
#pragma once

#include <QByteArray>

namespace vs {

/** Makes sure the module's Qt resources are registered with Qt. Safe to call any number of
 *  times, from any thread; moduleResource calls it itself. */
void registerModuleResources();

/** Returns the bytes of the module's resource of a type ("IMG") and numeric id: the Qt resource
 *  ":/<type in lower case>/<id>.<any extension>". Empty when the type is null or empty or no
 *  such resource exists; when several extensions exist, the first in name order wins. */
QByteArray moduleResource(const char* type, int id);

/** Returns the bytes of the module's resource ":/<type in lower case>/<name>" (the name as
 *  given, extension included). Empty when either argument is null or empty, or the resource
 *  does not exist. */
QByteArray moduleResource(const char* type, const char* name);

} // namespace vs
