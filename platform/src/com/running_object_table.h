// Which Running Object Table GetRunningObjectTable hands out.
//
// Every caller reaches the table through GetRunningObjectTable and the
// IRunningObjectTable interface only. The table is the process's own until
// one that also reaches other processes' tables is installed (the desktop
// does so); that table keeps this process's registrations in the process's
// own table and adds the others' to IsRunning, GetObject and EnumRunning,
// so callers do not change.
#pragma once

#include <objbase.h>

namespace platform::com {

// The table of this process's own registrations (no reference is added).
IRunningObjectTable *ProcessRunningObjectTable();

// From now on GetRunningObjectTable hands out table, which is held until it
// is replaced; null goes back to the process's own table.
void InstallRunningObjectTable(IRunningObjectTable *table);

}  // namespace platform::com
