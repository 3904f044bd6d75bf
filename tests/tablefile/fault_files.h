#pragma once
// The table engine's tests share the test file systems with the other groups.
#include "../support/fault_files.h"
