#pragma once
// What the process holds of the system's resources, for tests that look for leaks.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstddef>
#include <vector>

namespace testsupport {

// The process's open kernel handles, from the system's handle table: Wine's
// GetProcessHandleCount always answers 0.
inline size_t OpenHandles() {
    struct Entry {
        ULONG pid;
        BYTE type, flags;
        USHORT value;
        void* object;
        ULONG access;
    };
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buf(1 << 20);
    ULONG need = 0;
    while (query(16 /* SystemHandleInformation */, buf.data(), static_cast<ULONG>(buf.size()), &need) ==
           static_cast<LONG>(0xC0000004))  // STATUS_INFO_LENGTH_MISMATCH
        buf.resize(buf.size() * 2);
    ULONG count = *reinterpret_cast<ULONG*>(buf.data());
    auto* entries = reinterpret_cast<Entry*>(buf.data() + sizeof(void*));
    size_t mine = 0;
    for (ULONG i = 0; i < count; i++)
        if (entries[i].pid == GetCurrentProcessId()) mine++;
    return mine;
}

// The process's GDI objects (bitmaps, DCs, brushes, fonts, the bitmaps of icons). Wine's
// GetGuiResources answers 0 (not implemented); there the entries of the GDI handle table that
// the PEB points to are counted: Wine's table holds this process's objects only and leaves
// their owner 0.
inline size_t GdiObjects() {
    SetLastError(0);
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return n;
    struct Cell {
        void* object;
        USHORT pid, count, upper, type;
        void* user;
    };
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (query(GetCurrentProcess(), 0 /* ProcessBasicInformation */, &info, sizeof info, nullptr) != 0) return 0;
    auto* peb = reinterpret_cast<const BYTE*>(info.PebBaseAddress);
    const Cell* table = *reinterpret_cast<Cell* const*>(peb + 0xF8);  // GdiSharedHandleTable (64-bit)
    if (!table) return 0;
    auto me = static_cast<USHORT>(GetCurrentProcessId());
    size_t mine = 0;
    for (int i = 0; i < 0x10000; i++)
        if (table[i].type && (table[i].pid == me || table[i].pid == 0)) mine++;
    return mine;
}

// The most memory the process has had resident so far, in bytes (Wine: the peak resident set).
inline size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    return K32GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c) ? c.PeakWorkingSetSize : 0;
}

}  // namespace testsupport
