// Where serial ports get their numbers: the port folder holds symlinks named COM<N> that point
// at a tty device (the simulator and the demo mode put their pseudo-terminals there).
#pragma once

#include <string>

namespace velorin {

// $VELORIN_PORT_DIR when set and not empty, otherwise $HOME/.config/Velorin/ports.
std::string PortFolder();

// Path of the simulated USB link's socket: $VELORIN_KVUSB_SOCKET when set, otherwise
// PortFolder() + "/kvusb-sim.sock".
std::string KvusbSimSocketPath();

}  // namespace velorin
