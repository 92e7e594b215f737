#pragma once
// Background workers yield the processor to the UI thread.

/// Lowers the calling thread's scheduling priority (nice +10) so that the UI thread, and what it
/// shows first, goes before background work. Does nothing where that is not possible.
/// Thread safe; acts on the calling thread only.
void LowerCurrentThreadPriority();
