// execFunc through the real DLL.
#include "tests/win_host/host.h"

void runExecCases(HostContext&) {}
