// StopRecording (command 0x1D): tells the logger to stop recording. One attempt, no retry.
// Blocks the calling thread for at most one exchange.
#pragma once

namespace velorin {

class Link;
struct DeviceInfo;

// Over the USB link (currentPort HID_LINK_PORT) the frame is written with the library and its
// result is the answer; without a handle nothing is sent and the stop fails. Over the serial link
// the port is (re)opened on currentPort, the frame exchanged once, and the stop succeeds when
// exactly 7 bytes came back; the port is closed afterwards. On success the work state of `info`
// becomes the stopped label ("停止状态", in both languages).
bool StopRecording(Link& link, DeviceInfo& info);

}  // namespace velorin
