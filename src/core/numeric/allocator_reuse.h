#pragma once
// Asks the C library's allocator to keep the memory the solvers free for the next solve, once,
// at the start of a program. A scenario or a staffing search solves one model after another with
// vectors of megabytes, each a little larger than the last; by default glibc maps such blocks
// afresh and hands freed ones back, so every solve pays again for zeroed pages it touches first
// (100 values of M/M/c+M at c = 2500: 55,000 page faults, more than half the time of the run).
// Elsewhere it does nothing.

namespace wachtrix {

void KeepFreedMemoryForReuse();

}  // namespace wachtrix
