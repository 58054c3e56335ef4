/*
 * libkvusb — USB access library of the Velorin data loggers (C linkage, caller cleans the stack).
 *
 * Velorin loads this library at run time (dlopen) and calls three functions; a fourth,
 * CloseDevice, releases a handle (the program calls it where the handle must be closed; it is
 * optional: a library without it simply leaks the handle).
 *
 *   KvusbHandle FindDevice(const wchar_t* manufacturer, const wchar_t* product, int flags);
 *       Looks for an attached logger whose HID manufacturer and product strings equal the given
 *       strings exactly (Velorin passes L"tavmok" and L"4826vomu-pWren", flags 0) and opens it.
 *       Returns a handle, or 0 when no such device is attached or it cannot be opened.
 *
 *   int SendHWriteData(KvusbHandle h, int selector, unsigned char* report, int length,
 *                      unsigned int callCode);
 *       Hands a request to the logger. Velorin passes selector 237 (0xED), a 64-byte report and
 *       length 64. Returns nonzero when the device accepted the report. No reply is read.
 *
 *   int SendHReadData(KvusbHandle h, int selector, unsigned char* report, int length,
 *                     unsigned int callCode);
 *       Asks the logger for one reply report and stores it in `report` (at most `length` bytes,
 *       at most 64). Velorin passes selector 252 (0xFC), or 254 (0xFE) for the secondary
 *       information report. Returns nonzero when a reply report was received.
 *
 *   void CloseDevice(KvusbHandle h);
 *       Closes a handle from FindDevice. 0 and all-ones are ignored.
 *
 * Call code (32 bits): (command << 16) | (part << 8) | index. command is the protocol command
 * byte; part selects one report of a long reply (the information block has parts 0 and 1);
 * index is a channel (0-based). History requests carry a 16-bit block number in bits 0..15.
 *
 * Report contents (what Velorin puts in and takes out):
 *   written:  the request frame from offset 0 as on the serial link ('<' addr cmd N data CS '>'),
 *             except SetUserTitle and SetRecordInterval, whose special layouts the configuration
 *             code builds; the rest of the 64 bytes is zero.
 *   read:     byte 0 = payload length P (at most 63), bytes 1..P = what the serial reply carries
 *             from its offset 5 on. The live reading (0x05) and the history requests (0x19, 0x1A)
 *             come back laid out as their serial reply frame instead, truncated to 64 bytes.
 *
 * Wire layout on the USB HID interface (hidraw), defined by this library:
 *   The device uses numbered reports. Every call sends one output report whose report ID is the
 *   selector (0xED write, 0xFC read, 0xFE secondary read) followed by 68 bytes:
 *       [0..3]   call code, most significant byte first
 *       [4..67]  the 64-byte report (for reads: zero)
 *   A read then waits up to KVUSB_READ_TIMEOUT_MS for one input report with the same report ID
 *   carrying 64 bytes, which are copied to the caller's buffer. A write is complete when the
 *   output report has been sent.
 *
 * The simulator library (libkvusb-sim.so) exports the same functions and carries the same
 * 69-byte output reports over a Unix stream socket; see kvusb_sim_wire.h.
 */
#ifndef VELORIN_KVUSB_H
#define VELORIN_KVUSB_H

#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* KvusbHandle;

#define KVUSB_REPORT_BYTES 64
#define KVUSB_OUTPUT_REPORT_BYTES 69 /* report ID + call code + 64-byte report */
#define KVUSB_SELECTOR_WRITE 0xED
#define KVUSB_SELECTOR_READ 0xFC
#define KVUSB_SELECTOR_SECONDARY 0xFE
#define KVUSB_READ_TIMEOUT_MS 1000

KvusbHandle FindDevice(const wchar_t* manufacturer, const wchar_t* product, int flags);
int SendHWriteData(KvusbHandle h, int selector, unsigned char* report, int length, unsigned int callCode);
int SendHReadData(KvusbHandle h, int selector, unsigned char* report, int length, unsigned int callCode);
void CloseDevice(KvusbHandle h);

typedef KvusbHandle (*FindDeviceFn)(const wchar_t*, const wchar_t*, int);
typedef int (*SendHWriteDataFn)(KvusbHandle, int, unsigned char*, int, unsigned int);
typedef int (*SendHReadDataFn)(KvusbHandle, int, unsigned char*, int, unsigned int);
typedef void (*CloseDeviceFn)(KvusbHandle);

#ifdef __cplusplus
}
#endif

#endif
