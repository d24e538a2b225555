// The operating-system version code shared by the drawing surface and system information.
#pragma once

// The system version in binary-coded decimal: 0x95 or 0x98 for the Windows 95 family,
// otherwise major and minor as two decimal digits each (5.1 gives 0x0501).
int OperatingSystemCode();

// Codes above this one belong to the NT family.
constexpr int LastWindows9xCode = 0x98;
