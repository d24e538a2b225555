// VLSystemInfo: the operating system, the screen, memory and the running processes.
#ifndef VORLA_VLSYSTEMINFO_H
#define VORLA_VLSYSTEMINFO_H

#include "vorla/vorla.h"

class VORLA_API VLSystemInfo {
public:
    VLSystemInfo();
    ~VLSystemInfo();
    VLSystemInfo(const VLSystemInfo &) = delete;
    VLSystemInfo &operator=(const VLSystemInfo &) = delete;

    int GetOS();
    int GetOSVersion();
    VLSTSize GetScreenSize();
    int GetScreenBPP();
    int GetTotalPhysMemoryK();
    int GetAvailPhysMemoryK();
    int GetTotalVirtualMemoryK();
    int GetAvailVirtualMemoryK();
    int GetProcessCount();
    int GetProcessInfo(VLSTProcessInfo *records, int max);

private:
    HMODULE statusModule; // "psapi.dll"
    HMODULE kernelModule; // "kernel32.dll"
};

#endif
