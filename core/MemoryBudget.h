// How much memory new curve arrays may take before the system would refuse or kill the program.
#pragma once

// Physical memory less a margin for the system and the program, and no more than the address
// space the process limit still leaves.
unsigned long long MemoryForArrays();
