#pragma once
// Version of the host programming interface. A plug-in reports the version it
// was built against through its zrrxGetApiVersion export; the host loads only
// plug-ins of its own major version.
#define NIMB_API_VERSION_MAJOR 24
#define NIMB_API_VERSION_MINOR 1
#define NIMB_API_VERSION ((NIMB_API_VERSION_MAJOR << 16) | NIMB_API_VERSION_MINOR)
