/*
 * The simulated USB link between libkvusb-sim.so and velorin-logger-sim: a Unix stream socket.
 *
 * Socket path: $VELORIN_KVUSB_SOCKET when set, otherwise "kvusb-sim.sock" in the port folder
 * ($VELORIN_PORT_DIR, default ~/.config/Velorin/ports).
 *
 * One connection per handle (FindDevice connects, CloseDevice disconnects). Every call is one
 * request packet of KVUSB_OUTPUT_REPORT_BYTES (69) bytes answered by one response packet of
 * KVUSB_SIM_RESPONSE_BYTES (65) bytes:
 *   request:  [0] selector (0xED write, 0xFC read, 0xFE secondary read, 0x00 identify)
 *             [1..4] call code, most significant byte first
 *             [5..68] the 64-byte report (zero for reads and identify)
 *   response: [0] status: 1 = done (report accepted / reply report follows), 0 = failed
 *             [1..64] the input report (reads), the device strings (identify), zero otherwise
 * Identify (selector 0) answers with status 1 while the simulated device is plugged in, and
 * bytes 1..32 / 33..64 hold its HID manufacturer and product strings (UTF-8, NUL-padded).
 * FindDevice compares them with its arguments. Both sides give up on a silent peer after
 * KVUSB_SIM_TIMEOUT_MS, so nothing waits forever.
 *
 * Plug state: while it serves the socket, the simulator keeps the file <socket path> +
 * KVUSB_SIM_PLUG_SUFFIX holding "1\n" (plugged) or "0\n" (unplugged), replaced as a whole on
 * every change and removed when it stops. A program watching it sees the simulated device's
 * plug and unplug as device notices, as a real logger's would come from udev.
 */
#ifndef VELORIN_KVUSB_SIM_WIRE_H
#define VELORIN_KVUSB_SIM_WIRE_H

#define KVUSB_SIM_SELECTOR_IDENTIFY 0x00
#define KVUSB_SIM_RESPONSE_BYTES 65
#define KVUSB_SIM_STRING_BYTES 32
#define KVUSB_SIM_TIMEOUT_MS 2000
#define KVUSB_SIM_SOCKET_NAME "kvusb-sim.sock"
#define KVUSB_SIM_PLUG_SUFFIX ".plugged"

#endif
