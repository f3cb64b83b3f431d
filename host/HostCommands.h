// The two programs of the reference host, as functions the mains call once a QApplication
// exists. Each returns the process exit code and reports any failure in one line on stderr.
#pragma once

#include <string>
#include <vector>

namespace vhost {

/**
 * vantrel-host [--pack INDEX] [--overrides FILE] [--home DIR] [--picture OUT.jpg] [DESIGN]:
 * pours the pack, runs the design dialog on DESIGN (default: the bundled kitchen), puts the
 * returned solid element into the design and saves it atomically. With --picture it draws the
 * design into a JPEG instead and leaves the design file alone.
 */
int runHost(const std::vector<std::string>& args);

/** RibDaemon NAME [--pack INDEX] [--home DIR]: renders homeDir + "Render/" + NAME + ".xml". */
int runRibDaemon(const std::vector<std::string>& args);

} // namespace vhost
