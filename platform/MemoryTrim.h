#pragma once
// Giving memory the process freed back to the system.

/// Returns the free memory the allocator keeps (on every thread's arena) to the system, where
/// the allocator allows it: after many large buffers of worker threads were freed, they
/// otherwise stay counted as the process's resident memory. Nothing with other allocators.
void GiveBackFreedMemory();
