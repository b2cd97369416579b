#pragma once
// The version code that picks the code paths of a Windows generation.

#include <cstdint>

namespace vm {

// 15/18 for Windows 4.x, 20/21 for 5.x, 60/61 for 6.x. Later systems (Windows 10 and 11 report
// 10.0) belong to the same NT family and get 61, the newest code: counting them as "unknown"
// (0) would send them down the Windows 95 paths — no fading, no shutdown privilege, a plain
// shutdown request that today's Windows refuses. Older or unknown systems get 0.
std::uint16_t VersionCode(int major, int minor);

}  // namespace vm
