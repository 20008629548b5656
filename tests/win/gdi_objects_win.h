#pragma once
// How many GDI objects this process holds, as the system counts them, for leak tests of what
// the system makes on the program's behalf (which the program's own owners never see).
// Windows answers GetGuiResources. Wine answers 0 there, but keeps the per-process handle table
// that Windows maps into processes too (the PEB's GdiSharedHandleTable: 24-byte entries whose
// type, at offset 14, is nonzero while the handle is in use), so there the entries are counted.

#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstring>

namespace kelvane::testing {

inline long processGdiObjects() {
  if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(counted);
  using QueryProcessFn = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) return -1;
  constexpr std::size_t kTableInPeb = 0xF8, kEntrySize = 24, kTypeInEntry = 14, kEntries = 0x10000;
  static_assert(sizeof(void*) == 8, "the PEB offset is the 64-bit one");
  const BYTE* table = nullptr;
  std::memcpy(&table, reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + kTableInPeb, sizeof(table));
  if (!table) return -1;
  long inUse = 0;
  for (std::size_t i = 0; i < kEntries; ++i)
    if (table[i * kEntrySize + kTypeInEntry] != 0) ++inUse;
  return inUse;
}

}  // namespace kelvane::testing
