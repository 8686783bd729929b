#include "Platform/Memory.h"

#include <malloc.h>

namespace kravelon {

void ReturnFreedMemory() { malloc_trim(0); }

}  // namespace kravelon
