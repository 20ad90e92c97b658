// Hands memory that the allocator holds free back to the system.
#pragma once

namespace gaugery::http {

// After a burst of connections ends, their buffers and coroutine frames lie free in the
// allocator's heaps, which keep them; this returns them. A no-op where the C library
// offers no way to.
void ReturnFreedMemory();

}  // namespace gaugery::http
