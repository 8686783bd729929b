#pragma once
// The heap's memory, as the system sees it.

namespace kravelon {

// Hands memory freed inside the heap back to the system (start-up decodes and frees megabytes
// that the allocator would otherwise keep).
void ReturnFreedMemory();

}  // namespace kravelon
