#include "tools/handle_count.h"

#include <winternl.h>

#include <stdlib.h>

namespace {

// SystemHandleInformation (class 16): a count, then one entry per open handle.
struct HandleEntry {
  ULONG pid;
  BYTE type;
  BYTE flags;
  USHORT handle;
  PVOID object;
  ACCESS_MASK access;
};
struct HandleTable {
  ULONG count;
  HandleEntry entries[1];
};
const NTSTATUS kInfoLengthMismatch = (NTSTATUS)0xC0000004;

}  // namespace

long CountProcessHandles(HANDLE process, DWORD pid) {
  DWORD count = 0;
  if (GetProcessHandleCount(process, &count) && count != 0) return (long)count;
  ULONG size = 1 << 20;
  HandleTable* table = NULL;
  NTSTATUS status = kInfoLengthMismatch;
  while (status == kInfoLengthMismatch && size <= (1u << 28)) {
    free(table);
    table = (HandleTable*)malloc(size);
    if (table == NULL) return -1;
    ULONG needed = 0;
    status = NtQuerySystemInformation((SYSTEM_INFORMATION_CLASS)16, table, size, &needed);
    size *= 2;
  }
  long found = -1;
  if (status == 0) {
    found = 0;
    for (ULONG i = 0; i < table->count; ++i)
      if (table->entries[i].pid == pid) ++found;
  }
  free(table);
  return found;
}
