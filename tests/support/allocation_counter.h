// Counts the heap allocations of the calling thread, so a test can show that some work makes
// none: read the count before and after. Linking this replaces the global operator new.
#pragma once

int ThreadAllocations();
